// Window callbacks turned into the host's key and mouse events.
#include <GLFW/glfw3.h>

#include "host/glfw_game.h"
#include "host/key_codes.h"

namespace {

void KeyCallback(GLFWwindow*, int key, int, int action, int) {
    QvGlfwGame::_glfwGame->OnKey(key, action);
}

void CharCallback(GLFWwindow*, unsigned int codepoint) { QvGlfwGame::_glfwGame->OnChar(codepoint); }

void MouseButtonCallback(GLFWwindow*, int button, int action, int) {
    QvGlfwGame::_glfwGame->OnMouseButton(button, action);
}

void CursorPosCallback(GLFWwindow*, double x, double y) { QvGlfwGame::_glfwGame->OnMousePos(x, y); }

// The application decides whether the window closes.
void CloseCallback(GLFWwindow* window) {
    glfwSetWindowShouldClose(window, QvGlfwGame::_glfwGame->OnWindowClose());
}

}  // namespace

void QvGlfwGame::InstallCallbacks() {
    glfwSetKeyCallback(_window, KeyCallback);
    glfwSetCharCallback(_window, CharCallback);
    glfwSetMouseButtonCallback(_window, MouseButtonCallback);
    glfwSetCursorPosCallback(_window, CursorPosCallback);
    glfwSetWindowCloseCallback(_window, CloseCallback);
}

// A held key's auto-repeat arrives as further key-downs.
void QvGlfwGame::OnKey(int glfwKey, int action) {
    int key = TransKey(glfwKey);
    if (key == 0) return;
    if (action == GLFW_RELEASE) {
        KeyEvent(kEventKeyUp, key);
        return;
    }
    KeyEvent(kEventKeyDown, key);
    int chr = KeyToChar(key);
    if (chr != 0) KeyEvent(kEventKeyChar, chr);
}

void QvGlfwGame::OnChar(unsigned int codepoint) { KeyEvent(kEventKeyChar, int(codepoint)); }

void QvGlfwGame::OnMouseButton(int button, int action) {
    if (button < 0 || button > 2) return;
    double x = 0, y = 0;
    if (_window) glfwGetCursorPos(_window, &x, &y);
    MouseEvent(action == GLFW_PRESS ? kEventMouseDown : kEventMouseUp, button, float(x), float(y));
}

void QvGlfwGame::OnMousePos(double x, double y) {
    MouseEvent(kEventMouseMove, -1, float(x), float(y));
}

int QvGlfwGame::OnWindowClose() {
    KeyEvent(kEventKeyDown, kKeyClose);
    KeyEvent(kEventKeyUp, kKeyClose);
    return 0;
}
