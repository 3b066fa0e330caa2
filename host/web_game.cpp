#include "host/web_game.h"

#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <vector>

namespace {

QvWebGame& Page(void* user) { return *static_cast<QvWebGame*>(user); }

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void* user) {
    Page(user).OnPageFocus(type == EMSCRIPTEN_EVENT_FOCUS);
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* event, void* user) {
    Page(user).OnPageVisible(!event->hidden);
    return EM_FALSE;
}

EM_BOOL OnResize(int, const EmscriptenUiEvent*, void* user) {
    Page(user).OnPageResize();
    return EM_FALSE;
}

void FramePass(void* user) { Page(user).PagePass(); }

// A save runs in one IndexedDB transaction: it reads the stored state, hands its bytes to
// the game, which makes the state to store from them and writes it to the in-memory file,
// and stores that file, so another tab's save between the reading and the storing cannot
// be lost (transactions on one store take turns, across tabs too). A flush asked for while
// one runs is made again when that one ends. A game that has crashed can no longer merge:
// storage is then left as it is.
EM_JS(void, FlushStateStorage, (const char* name), {
    if (Module.stateFlush) {
        Module.stateFlush.again = true;
        return;
    }
    Module.stateFlush = {again : false};
    const path = PATH_FS.resolve(UTF8ToString(name));
    const ended = function(error) {
        if (error) console.error("Could not keep the saved state: " + error);
        Module.storedState = null;
        if (Module.stateFlush.again) {
            Module.stateFlush.again = false;
            flush();
        } else {
            Module.stateFlush = null;
        }
    };
    const flush = function() {
        IDBFS.getDB(
            FS.lookupPath(PATH.dirname(path)).node.mount.mountpoint, function(error, db) {
                if (error) return ended(error);
                const transaction = db.transaction([IDBFS.DB_STORE_NAME], "readwrite");
                const store = transaction.objectStore(IDBFS.DB_STORE_NAME);
                transaction.oncomplete = function() {
                    if (!ABORT) _QvStateStored();
                    ended(null);
                };
                transaction.onabort = function() {
                    ended(transaction.error || "the save was given up");
                };
                IDBFS.loadRemoteEntry(
                    store, path, function(error, entry) {
                        Module.storedState = entry && entry.contents ? entry.contents
                                                                     : new Uint8Array(0);
                        if (error || ABORT || _QvMergeStoredState() != 0)
                            return transaction.abort();
                        IDBFS.loadLocalEntry(
                            path, function(error, local) {
                                if (error) return transaction.abort();
                                IDBFS.storeRemoteEntry(
                                    store, path, local, function(error) {
                                        if (error) transaction.abort();
                                    });
                            });
                    });
            });
    };
    flush();
});

EM_JS(int, StoredStateLength, (), { return Module.storedState.length; });
EM_JS(void, CopyStoredState, (unsigned char* to), { HEAPU8.set(Module.storedState, to); });

// A save of a whole state stores it whatever is stored.
class Replacement : public QvStateUpdate {
public:
    String state;
    String Updated(const String&) override { return state; }
    void Stored(const String&) override {}
};

QvWebGame& TheWebGame() { return *static_cast<QvWebGame*>(QvGame::_game); }

EM_JS(int, PageWidth, (), { return window.innerWidth; });
EM_JS(int, PageHeight, (), { return window.innerHeight; });
EM_JS(int, PageFocused, (), { return document.hasFocus() ? 1 : 0; });
EM_JS(int, PageVisible, (), { return document.hidden ? 0 : 1; });
EM_JS(void, SetCanvasSize, (int width, int height), { Browser.setCanvasSize(width, height); });
EM_JS(int, CanvasWidth, (), { return Module.canvas.width; });
EM_JS(int, CanvasHeight, (), { return Module.canvas.height; });

EM_JS(int, ScreenWidth, (), { return screen.width; });
EM_JS(int, ScreenHeight, (), { return screen.height; });

// The browser answers a full-screen request later, or refuses it (without a recent
// gesture of the player's, for one); the request stands for the state until then.
EM_JS(void, AskFullScreen, (int on), {
    const change = on ? !document.fullscreenElement && document.documentElement.requestFullscreen()
                      : document.fullscreenElement && document.exitFullscreen();
    if (!change) return;
    const asked = {on : on};
    Module.fullScreenAsked = asked;
    const answered = function() {
        if (Module.fullScreenAsked == asked) Module.fullScreenAsked = null;
    };
    change.then(answered, answered);
});

EM_JS(int, PageFullScreen, (), {
    const asked = Module.fullScreenAsked;
    if (asked) return asked.on;
    return document.fullscreenElement ? 1 : 0;
});

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE int QvMergeStoredState() { return TheWebGame().MergeStoredState(); }
extern "C" EMSCRIPTEN_KEEPALIVE void QvStateStored() { TheWebGame().StateStored(); }

QvWebGame::QvWebGame() {
    _appDir = "/app";
    SetFrameDriver(&_pageDriver);
}

void QvWebGame::Run() {
    QvGlfwGame::SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);  // the canvas's context
    _pageDriver.SetFocused(PageFocused() != 0);
    _pageDriver.SetVisible(PageVisible() != 0);
    emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, OnFocus);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, OnFocus);
    emscripten_set_visibilitychange_callback(this, EM_FALSE, OnVisibility);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, OnResize);
    StartGame();
    emscripten_set_main_loop_arg(FramePass, this, 0, EM_TRUE);
}

void QvWebGame::PagePass() {
    // The canvas takes the page's size in the first pass, not before the frame loop runs:
    // until then nothing keeps the runtime alive, and the window-size callback that a
    // resize raises would end the program.
    if (!_sized) {
        _sized = true;
        OnPageResize();
    }
    RunFrame();
}

int QvWebGame::SaveState(String state) {
    static Replacement replacement;
    replacement.state = state;
    return UpdateState(replacement);
}

int QvWebGame::UpdateState(QvStateUpdate& update) {
    _stateUpdate = &update;
    FlushStateStorage(StatePath().ToUtf8().c_str());
    return 0;
}

int QvWebGame::MergeStoredState() {
    std::vector<unsigned char> bytes(static_cast<size_t>(StoredStateLength()));
    if (!bytes.empty()) CopyStoredState(bytes.data());
    const String stored = QvStateFromBytes(bytes);
    _merged = _stateUpdate->Updated(stored);
    const int result = QvWriteStateFile(StatePath(), _merged);
    gc_collect();  // the step that follows every call into the game
    return result;
}

void QvWebGame::StateStored() {
    _stateUpdate->Stored(_merged);
    gc_collect();
}

void QvWebGame::SetGlfwWindow(int, int, int, int, int, int, int, int, bool fullscreen) {
    AskFullScreen(fullscreen ? 1 : 0);
}

QvGlfwVideoMode* QvWebGame::GetGlfwDesktopMode() {
    auto* mode = new QvGlfwVideoMode;
    mode->width = ScreenWidth();
    mode->height = ScreenHeight();
    mode->redBits = mode->greenBits = mode->blueBits = 8;
    return mode;
}

bool QvWebGame::FullScreen() { return PageFullScreen() != 0; }

void QvWebGame::OnPageFocus(bool focused) {
    _pageDriver.SetFocused(focused);
    UpdateEvents();
}

void QvWebGame::OnPageVisible(bool visible) {
    _pageDriver.SetVisible(visible);
    UpdateEvents();
}

// In full screen emscripten's GLFW gives the canvas the screen's size, whatever the page's
// is (a browser that keeps some of its own bar shows the page smaller), so the game draws
// at the canvas's own size and the page scales it.
void QvWebGame::OnPageResize() {
    SetCanvasSize(PageWidth(), PageHeight());
    OnWindowSize(CanvasWidth(), CanvasHeight());
}
