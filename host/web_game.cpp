#include "host/web_game.h"

#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <emscripten/html5.h>

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

// Saves go to the in-memory file system first (whole, through a rename); this copies it
// to IndexedDB, where one transaction replaces the file, so storage holds the old state or
// the new one. A flush asked for while one runs is made again when that one ends.
EM_JS(void, FlushStateStorage, (), {
    if (Module.stateFlush) {
        Module.stateFlush.again = true;
        return;
    }
    Module.stateFlush = {again : false};
    const flush = function() {
        FS.syncfs(
            false, function(error) {
                if (error) console.error("Could not keep the saved state: " + error);
                if (Module.stateFlush.again) {
                    Module.stateFlush.again = false;
                    flush();
                } else {
                    Module.stateFlush = null;
                }
            });
    };
    flush();
});

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
    const int result = QvPellixGame::SaveState(state);
    if (result == 0) FlushStateStorage();
    return result;
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
