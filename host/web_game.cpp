#include "host/web_game.h"

#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
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

// The page's size in the screen's pixels.
EM_JS(int, PageWidth, (),
      { return Math.round(window.innerWidth * (window.devicePixelRatio || 1)); });
EM_JS(int, PageHeight, (),
      { return Math.round(window.innerHeight * (window.devicePixelRatio || 1)); });
EM_JS(int, PageFocused, (), { return document.hasFocus() ? 1 : 0; });
EM_JS(int, PageVisible, (), { return document.hidden ? 0 : 1; });
// The page holds the game until the player's first gesture.
EM_JS(int, PageHolds, (), { return Module.held ? 1 : 0; });
// The canvas's own pixels; the page's style stretches them over the window. Set here
// rather than through emscripten's GLFW, whose window would follow and report a new size.
EM_JS(void, SetCanvasPixels, (int width, int height), {
    const canvas = Module.canvas;
    if (canvas.width != width) canvas.width = width;
    if (canvas.height != height) canvas.height = height;
});

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
    FitCanvas();  // the game starts at the page's size
    StartGame();
    RenderGame();  // sets up the drawing (its shaders, its buffers) before the player comes
    emscripten_set_main_loop_arg(FramePass, this, 0, EM_TRUE);
}

void QvWebGame::PagePass() {
    if (PageHolds()) {
        _lastPass = 0.0;  // the pace counts from the first pass that runs
        return;
    }
    FitCanvas();
    RunFrame();
}

void QvWebGame::FitCanvas() {
    const int width = PageWidth(), height = PageHeight();
    const double now = _pageDriver.Now();
    const double seconds = _lastPass != 0.0 ? now - _lastPass : 0.0;
    _lastPass = now;
    bool rescaled = false;
    if (width != _deviceWidth || height != _deviceHeight) {
        _deviceWidth = width;
        _deviceHeight = height;
        // Never fewer pixels than the game's virtual screen has units (nor than the window
        // has pixels): no coarser than the game's own 640 x 480.
        _drawingScale.SetFloor(1.0 / QvPixelsPerUnit(width, height));
        rescaled = true;
    } else if (seconds > 0.0) {
        rescaled = _drawingScale.OnFrame(seconds);
    }
    if (rescaled) {
        const double scale = _drawingScale.Scale();
        _drawingWidth = std::max(1, int(std::lround(width * scale)));
        _drawingHeight = std::max(1, int(std::lround(height * scale)));
        SetCanvasPixels(_drawingWidth, _drawingHeight);
    }
    _pictureSets.Tick(_drawingWidth, _drawingHeight, seconds);
}

unsigned char* QvWebGame::LoadData(String path, int* length) {
    unsigned char* bytes = QvPellixGame::LoadData(path, length);
    return bytes ? bytes : _pictureSets.StandIn(path, length);
}

unsigned char* QvWebGame::DecodeImageData(const unsigned char* bytes, int length, int* width,
                                          int* height, int* depth) {
    unsigned char* pixels = _pictureSets.Decode(*this, bytes, length, width, height, depth);
    return pixels ? pixels : QvPellixGame::DecodeImageData(bytes, length, width, height, depth);
}

int QvWebGame::StandInScale(const unsigned char* bytes, int length) {
    return _pictureSets.StandInScale(bytes, length);
}

void QvWebGame::MouseEvent(int event, int data, float x, float y) {
    QvPellixGame::MouseEvent(event, data, DeviceX(x), DeviceY(y));
}

void QvWebGame::TouchEvent(int event, int data, float x, float y) {
    QvPellixGame::TouchEvent(event, data, DeviceX(x), DeviceY(y));
}

float QvWebGame::DeviceX(float x) const { return x * float(_deviceWidth) / float(_drawingWidth); }
float QvWebGame::DeviceY(float y) const { return y * float(_deviceHeight) / float(_drawingHeight); }

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
