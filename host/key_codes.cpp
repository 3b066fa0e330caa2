#include "host/key_codes.h"

#include <GLFW/glfw3.h>

#include "host/key_space.h"

using namespace key_code;

namespace {

int TransFunctionKey(int glfwKey) {
    if (glfwKey >= GLFW_KEY_F1 && glfwKey <= GLFW_KEY_F12) return kF1 + (glfwKey - GLFW_KEY_F1);
    if (glfwKey >= GLFW_KEY_KP_0 && glfwKey <= GLFW_KEY_KP_9)
        return kNumpad0 + (glfwKey - GLFW_KEY_KP_0);
    switch (glfwKey) {
        case GLFW_KEY_ESCAPE: return kEscape;
        case GLFW_KEY_UP: return kUp;
        case GLFW_KEY_DOWN: return kDown;
        case GLFW_KEY_LEFT: return kLeft;
        case GLFW_KEY_RIGHT: return kRight;
        case GLFW_KEY_LEFT_SHIFT: return kShift;
        case GLFW_KEY_RIGHT_SHIFT: return kShift;
        case GLFW_KEY_LEFT_CONTROL: return kControl;
        case GLFW_KEY_RIGHT_CONTROL: return kControl;
        case GLFW_KEY_TAB: return kTab;
        case GLFW_KEY_ENTER: return kEnter;
        case GLFW_KEY_BACKSPACE: return kBackspace;
        case GLFW_KEY_INSERT: return kInsert;
        case GLFW_KEY_DELETE: return kDelete;
        case GLFW_KEY_PAGE_UP: return kPageUp;
        case GLFW_KEY_PAGE_DOWN: return kPageDown;
        case GLFW_KEY_HOME: return kHome;
        case GLFW_KEY_END: return kEnd;
        case GLFW_KEY_KP_DIVIDE: return kNumDivide;
        case GLFW_KEY_KP_MULTIPLY: return kNumMultiply;
        case GLFW_KEY_KP_SUBTRACT: return kNumSubtract;
        case GLFW_KEY_KP_ADD: return kNumAdd;
        case GLFW_KEY_KP_DECIMAL: return kNumDecimal;
        default: return 0;
    }
}

int TransPrintableKey(int glfwKey) {
    switch (glfwKey) {
        case GLFW_KEY_SPACE: return kSpace;
        case GLFW_KEY_APOSTROPHE: return kApostrophe;
        case GLFW_KEY_COMMA: return kComma;
        case GLFW_KEY_MINUS: return kMinus;
        case GLFW_KEY_PERIOD: return kPeriod;
        case GLFW_KEY_SLASH: return kSlash;
        case GLFW_KEY_SEMICOLON: return kSemicolon;
        case GLFW_KEY_EQUAL: return kEqual;
        case GLFW_KEY_LEFT_BRACKET: return kLeftBracket;
        case GLFW_KEY_BACKSLASH: return kBackslash;
        case GLFW_KEY_RIGHT_BRACKET: return kRightBracket;
        case GLFW_KEY_GRAVE_ACCENT: return kGrave;
        default: return 0;
    }
}

}  // namespace

int TransKey(int glfwKey) {
    if ((glfwKey >= GLFW_KEY_0 && glfwKey <= GLFW_KEY_9) ||
        (glfwKey >= GLFW_KEY_A && glfwKey <= GLFW_KEY_Z)) {
        return glfwKey;
    }
    if (glfwKey >= GLFW_KEY_ESCAPE) return TransFunctionKey(glfwKey);
    return TransPrintableKey(glfwKey);
}

int KeyToChar(int keyCode) {
    switch (keyCode) {
        case kBackspace:
        case kTab:
        case kEnter:
        case kEscape: return keyCode;
        case kDelete: return 127;
    }
    if ((keyCode >= kPageUp && keyCode <= kDown) || keyCode == kInsert) return keyCode | 0x10000;
    return 0;
}
