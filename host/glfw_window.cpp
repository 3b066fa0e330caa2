// Opening and reopening the window, display modes and window services.
#include <GLFW/glfw3.h>

#include "host/glfw_game.h"
#include "host/key_codes.h"

int glfwGraphicsSeq = 0;

namespace {

const char* const kWindowTitle = "Vortan Rally Run";

const GLFWvidmode* DesktopVideoMode() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    return monitor ? glfwGetVideoMode(monitor) : nullptr;
}

void WindowSizeCallback(GLFWwindow*, int width, int height) {
    QvGlfwGame::_glfwGame->OnWindowSize(width, height);
}

void WindowFocusCallback(GLFWwindow*, int) { QvGlfwGame::_glfwGame->OnWindowFocus(); }

void WindowIconifyCallback(GLFWwindow*, int iconified) {
    QvGlfwGame::_glfwGame->OnWindowIconify(iconified == GLFW_TRUE);
}

}  // namespace

// A key held across the change of window would otherwise stay down for ever: the new
// window never reports its release.
void QvGlfwGame::ReleaseHeldKeys() {
    if (!_window) return;
    for (int key = GLFW_KEY_SPACE; key <= GLFW_KEY_LAST; ++key) {
        int code = TransKey(key);
        if (code != 0 && glfwGetKey(_window, key) == GLFW_PRESS) KeyEvent(kEventKeyUp, code);
    }
}

void QvGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                               int depth, int stencil, bool fullscreen) {
    ReleaseHeldKeys();
    const GLFWvidmode* desktop = DesktopVideoMode();
    int desktopWidth = desktop ? desktop->width : width;
    int desktopHeight = desktop ? desktop->height : height;
    if (_window) {
        glfwDestroyWindow(_window);
        _window = nullptr;
    }
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_REFRESH_RATE, 60);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_RED_BITS, red);
    glfwWindowHint(GLFW_GREEN_BITS, green);
    glfwWindowHint(GLFW_BLUE_BITS, blue);
    glfwWindowHint(GLFW_ALPHA_BITS, alpha);
    glfwWindowHint(GLFW_DEPTH_BITS, depth);
    glfwWindowHint(GLFW_STENCIL_BITS, stencil);
#if defined(GLFW_X11_CLASS_NAME)
    // The X11 class the desktop entry names, so a dock matches the window to its entry.
    glfwWindowHintString(GLFW_X11_CLASS_NAME, "vortan");
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, "vortan");
#endif
    // The title names the window in both modes: task switchers and docks list a full
    // screen too.
    if (fullscreen) {
        _window = glfwCreateWindow(width, height, kWindowTitle, glfwGetPrimaryMonitor(), nullptr);
    } else {
        // Hidden until centred, so it does not appear in one place and jump to another.
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        _window = glfwCreateWindow(width, height, kWindowTitle, nullptr, nullptr);
        if (_window) {
            glfwSetWindowPos(_window, (desktopWidth - width) / 2, (desktopHeight - height) / 2);
            glfwShowWindow(_window);
        }
    }
    ++glfwGraphicsSeq;
    if (!_window) {
        qvPrint("Could not open the window");
        return;
    }
    // The new window takes the keyboard from the one it replaces, as a desktop gives it to
    // a window it opens; with no window manager nobody else would, and the game would stay
    // suspended.
    glfwFocusWindow(_window);
    glfwMakeContextCurrent(_window);
    if (_swapInterval >= 0) glfwSwapInterval(_swapInterval);
    // A full screen has no pointer; a window shows it unless the application hid it.
    const bool pointer = _mouseVisible && !fullscreen;
    glfwSetInputMode(_window, GLFW_CURSOR, pointer ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
    InstallCallbacks();
    TrackWindowState();
}

void QvGlfwGame::TrackWindowState() {
    glfwGetWindowSize(_window, &_windowWidth, &_windowHeight);
    _focused = glfwGetWindowAttrib(_window, GLFW_FOCUSED) == GLFW_TRUE;
    _iconified = glfwGetWindowAttrib(_window, GLFW_ICONIFIED) == GLFW_TRUE;
    glfwSetWindowSizeCallback(_window, WindowSizeCallback);
    glfwSetWindowFocusCallback(_window, WindowFocusCallback);
    glfwSetWindowIconifyCallback(_window, WindowIconifyCallback);
}

void QvGlfwGame::OnWindowSize(int width, int height) {
    _windowWidth = width;
    _windowHeight = height;
}

// GLFW also reports the focus passing through the window on its way to the root window
// (with the pointer inside), so the X server is asked who holds it; this happens only
// when the focus moves, never per frame.
void QvGlfwGame::OnWindowFocus() {
    _focused = _window && glfwGetWindowAttrib(_window, GLFW_FOCUSED) == GLFW_TRUE;
}
void QvGlfwGame::OnWindowIconify(bool iconified) { _iconified = iconified; }

void QvGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

bool QvGlfwGame::FullScreen() { return _window && glfwGetWindowMonitor(_window) != nullptr; }

int QvGlfwGame::GetDeviceWidth() { return _window ? _windowWidth : 0; }
int QvGlfwGame::GetDeviceHeight() { return _window ? _windowHeight : 0; }

static QvDisplayMode* NewDisplayMode(const GLFWvidmode& source) {
    auto* mode = new QvDisplayMode;
    mode->width = source.width;
    mode->height = source.height;
    return mode;
}

static QvGlfwVideoMode* NewVideoMode(const GLFWvidmode& source) {
    auto* mode = new QvGlfwVideoMode;
    mode->width = source.width;
    mode->height = source.height;
    mode->redBits = source.redBits;
    mode->greenBits = source.greenBits;
    mode->blueBits = source.blueBits;
    return mode;
}

// The primary monitor's video modes (at most 1024), each made into a host object by `make`.
template <class Mode>
static Array<Mode*> PrimaryMonitorModes(Mode* (*make)(const GLFWvidmode&)) {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    int count = 0;
    const GLFWvidmode* modes = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
    if (!modes || count <= 0) return Array<Mode*>();
    if (count > 1024) count = 1024;
    Array<Mode*> result(count);
    for (int i = 0; i < count; ++i) gc_assign(result[i], make(modes[i]));
    return result;
}

QvDisplayMode* QvGlfwGame::GetDesktopMode() {
    const GLFWvidmode* desktop = DesktopVideoMode();
    return desktop ? NewDisplayMode(*desktop) : nullptr;
}

Array<QvDisplayMode*> QvGlfwGame::GetDisplayModes() { return PrimaryMonitorModes(NewDisplayMode); }

QvGlfwVideoMode* QvGlfwGame::GetGlfwDesktopMode() {
    const GLFWvidmode* desktop = DesktopVideoMode();
    return desktop ? NewVideoMode(*desktop) : nullptr;
}

Array<QvGlfwVideoMode*> QvGlfwGame::GetGlfwVideoModes() {
    return PrimaryMonitorModes(NewVideoMode);
}

void QvGlfwGame::SetSwapInterval(int interval) {
    _swapInterval = interval;
    if (interval >= 0 && _window) glfwSwapInterval(interval);
}

// Kept for the next window too: every reopening applies it again.
void QvGlfwGame::SetMouseVisible(bool visible) {
    _mouseVisible = visible;
    if (_window) {
        glfwSetInputMode(_window, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
    }
}
