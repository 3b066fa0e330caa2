// Opening and reopening the window, display modes and window services.
#include <GLFW/glfw3.h>

#include "host/glfw_game.h"
#include "host/key_codes.h"

int glfwGraphicsSeq = 0;

namespace {

const GLFWvidmode* DesktopVideoMode() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    return monitor ? glfwGetVideoMode(monitor) : nullptr;
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
    // The X11 class the desktop entry names, so a dock matches the window to its entry.
    glfwWindowHintString(GLFW_X11_CLASS_NAME, "vortan");
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, "vortan");
    if (fullscreen) {
        _window = glfwCreateWindow(width, height, "", glfwGetPrimaryMonitor(), nullptr);
    } else {
        // Hidden until centred, so it does not appear in one place and jump to another.
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        _window = glfwCreateWindow(width, height, "Vortan Rally Run", nullptr, nullptr);
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
    glfwMakeContextCurrent(_window);
    if (_swapInterval >= 0) glfwSwapInterval(_swapInterval);
    // A full screen has no pointer; a window shows it unless the application hid it.
    const bool pointer = _mouseVisible && !fullscreen;
    glfwSetInputMode(_window, GLFW_CURSOR, pointer ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
    InstallCallbacks();
}

void QvGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

int QvGlfwGame::GetDeviceWidth() {
    int width = 0, height = 0;
    if (_window) glfwGetWindowSize(_window, &width, &height);
    return width;
}

int QvGlfwGame::GetDeviceHeight() {
    int width = 0, height = 0;
    if (_window) glfwGetWindowSize(_window, &width, &height);
    return height;
}

QvDisplayMode* QvGlfwGame::GetDesktopMode() {
    const GLFWvidmode* desktop = DesktopVideoMode();
    if (!desktop) return nullptr;
    auto* mode = new QvDisplayMode;
    mode->width = desktop->width;
    mode->height = desktop->height;
    return mode;
}

Array<QvDisplayMode*> QvGlfwGame::GetDisplayModes() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    int count = 0;
    const GLFWvidmode* modes = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
    if (!modes || count <= 0) return Array<QvDisplayMode*>();
    if (count > 1024) count = 1024;
    Array<QvDisplayMode*> result(count);
    for (int i = 0; i < count; ++i) {
        auto* mode = new QvDisplayMode;
        mode->width = modes[i].width;
        mode->height = modes[i].height;
        gc_assign(result[i], mode);
    }
    return result;
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

QvGlfwVideoMode* QvGlfwGame::GetGlfwDesktopMode() {
    const GLFWvidmode* desktop = DesktopVideoMode();
    return desktop ? NewVideoMode(*desktop) : nullptr;
}

Array<QvGlfwVideoMode*> QvGlfwGame::GetGlfwVideoModes() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    int count = 0;
    const GLFWvidmode* modes = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
    if (!modes || count <= 0) return Array<QvGlfwVideoMode*>();
    if (count > 1024) count = 1024;
    Array<QvGlfwVideoMode*> result(count);
    for (int i = 0; i < count; ++i) gc_assign(result[i], NewVideoMode(modes[i]));
    return result;
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
