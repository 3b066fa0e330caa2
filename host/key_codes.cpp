#include "host/key_codes.h"

#include <GLFW/glfw3.h>

#include "host/key_space.h"

using namespace key_code;

namespace {

// Every key but the letters, digits, function keys and keypad digits, which keep their
// order.
struct Translation {
    int glfwKey, code;
};
const Translation kKeys[] = {{GLFW_KEY_ESCAPE, kEscape},
                             {GLFW_KEY_UP, kUp},
                             {GLFW_KEY_DOWN, kDown},
                             {GLFW_KEY_LEFT, kLeft},
                             {GLFW_KEY_RIGHT, kRight},
                             {GLFW_KEY_LEFT_SHIFT, kShift},
                             {GLFW_KEY_RIGHT_SHIFT, kShift},
                             {GLFW_KEY_LEFT_CONTROL, kControl},
                             {GLFW_KEY_RIGHT_CONTROL, kControl},
                             {GLFW_KEY_TAB, kTab},
                             {GLFW_KEY_ENTER, kEnter},
                             {GLFW_KEY_BACKSPACE, kBackspace},
                             {GLFW_KEY_INSERT, kInsert},
                             {GLFW_KEY_DELETE, kDelete},
                             {GLFW_KEY_PAGE_UP, kPageUp},
                             {GLFW_KEY_PAGE_DOWN, kPageDown},
                             {GLFW_KEY_HOME, kHome},
                             {GLFW_KEY_END, kEnd},
                             {GLFW_KEY_KP_DIVIDE, kNumDivide},
                             {GLFW_KEY_KP_MULTIPLY, kNumMultiply},
                             {GLFW_KEY_KP_SUBTRACT, kNumSubtract},
                             {GLFW_KEY_KP_ADD, kNumAdd},
                             {GLFW_KEY_KP_DECIMAL, kNumDecimal},
                             {GLFW_KEY_SPACE, kSpace},
                             {GLFW_KEY_APOSTROPHE, kApostrophe},
                             {GLFW_KEY_COMMA, kComma},
                             {GLFW_KEY_MINUS, kMinus},
                             {GLFW_KEY_PERIOD, kPeriod},
                             {GLFW_KEY_SLASH, kSlash},
                             {GLFW_KEY_SEMICOLON, kSemicolon},
                             {GLFW_KEY_EQUAL, kEqual},
                             {GLFW_KEY_LEFT_BRACKET, kLeftBracket},
                             {GLFW_KEY_BACKSLASH, kBackslash},
                             {GLFW_KEY_RIGHT_BRACKET, kRightBracket},
                             {GLFW_KEY_GRAVE_ACCENT, kGrave}};

}  // namespace

int TransKey(int glfwKey) {
    if ((glfwKey >= GLFW_KEY_0 && glfwKey <= GLFW_KEY_9) ||
        (glfwKey >= GLFW_KEY_A && glfwKey <= GLFW_KEY_Z)) {
        return glfwKey;
    }
    if (glfwKey >= GLFW_KEY_F1 && glfwKey <= GLFW_KEY_F12) return kF1 + (glfwKey - GLFW_KEY_F1);
    if (glfwKey >= GLFW_KEY_KP_0 && glfwKey <= GLFW_KEY_KP_9)
        return kNumpad0 + (glfwKey - GLFW_KEY_KP_0);
    for (const Translation& t : kKeys) {
        if (t.glfwKey == glfwKey) return t.code;
    }
    return 0;
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
