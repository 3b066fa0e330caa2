// Key translation, the characters keys type, and the window callbacks' events.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "host/glfw_game.h"
#include "host/key_codes.h"
#include "tests/host/collector_reset.h"
#include "tests/host/recording_delegate.h"

namespace {

TEST(TransKey, LettersAndDigitsKeepTheirCodesAndNamedKeysGetVirtualKeyCodes) {
    struct Case {
        int glfwKey, code;
    };
    const Case cases[] = {
        {GLFW_KEY_SPACE, 32},          {GLFW_KEY_APOSTROPHE, 222},
        {GLFW_KEY_COMMA, 188},         {GLFW_KEY_MINUS, 189},
        {GLFW_KEY_PERIOD, 190},        {GLFW_KEY_SLASH, 191},
        {GLFW_KEY_SEMICOLON, 186},     {GLFW_KEY_EQUAL, 187},
        {GLFW_KEY_LEFT_BRACKET, 219},  {GLFW_KEY_BACKSLASH, 220},
        {GLFW_KEY_RIGHT_BRACKET, 221}, {GLFW_KEY_GRAVE_ACCENT, 192},
        {GLFW_KEY_ESCAPE, 27},         {GLFW_KEY_F1, 112},
        {GLFW_KEY_F12, 123},           {GLFW_KEY_UP, 38},
        {GLFW_KEY_DOWN, 40},           {GLFW_KEY_LEFT, 37},
        {GLFW_KEY_RIGHT, 39},          {GLFW_KEY_LEFT_SHIFT, 16},
        {GLFW_KEY_RIGHT_SHIFT, 16},    {GLFW_KEY_LEFT_CONTROL, 17},
        {GLFW_KEY_RIGHT_CONTROL, 17},  {GLFW_KEY_TAB, 9},
        {GLFW_KEY_ENTER, 13},          {GLFW_KEY_BACKSPACE, 8},
        {GLFW_KEY_INSERT, 45},         {GLFW_KEY_DELETE, 46},
        {GLFW_KEY_PAGE_UP, 33},        {GLFW_KEY_PAGE_DOWN, 34},
        {GLFW_KEY_HOME, 36},           {GLFW_KEY_END, 35},
        {GLFW_KEY_KP_0, 96},           {GLFW_KEY_KP_9, 105},
        {GLFW_KEY_KP_DIVIDE, 111},     {GLFW_KEY_KP_MULTIPLY, 106},
        {GLFW_KEY_KP_SUBTRACT, 109},   {GLFW_KEY_KP_ADD, 107},
        {GLFW_KEY_KP_DECIMAL, 110},
    };
    for (const Case& c : cases) EXPECT_EQ(TransKey(c.glfwKey), c.code) << "GLFW key " << c.glfwKey;
    // Letters and digits keep GLFW's codes, which are their ASCII codes.
    for (int key : {GLFW_KEY_A, GLFW_KEY_Z, GLFW_KEY_0, GLFW_KEY_9}) EXPECT_EQ(TransKey(key), key);
}

TEST(TransKey, KeysLeftOutTranslateToZero) {
    const int ignored[] = {
        GLFW_KEY_F13,
        GLFW_KEY_F25,
        GLFW_KEY_LEFT_ALT,
        GLFW_KEY_RIGHT_ALT,
        GLFW_KEY_KP_EQUAL,
        GLFW_KEY_KP_ENTER,
        GLFW_KEY_CAPS_LOCK,
        GLFW_KEY_SCROLL_LOCK,
        GLFW_KEY_NUM_LOCK,
        GLFW_KEY_PAUSE,
        GLFW_KEY_LEFT_SUPER,
        GLFW_KEY_RIGHT_SUPER,
        GLFW_KEY_MENU,
        GLFW_KEY_PRINT_SCREEN,
        GLFW_KEY_WORLD_1,
        GLFW_KEY_WORLD_2,
        GLFW_KEY_UNKNOWN,
        0,
        31,
        10000,
    };
    for (int key : ignored) EXPECT_EQ(TransKey(key), 0) << "GLFW key " << key;
}

TEST(KeyToChar, ControlAndNavigationKeysTypeCharacters) {
    EXPECT_EQ(KeyToChar(8), 8);
    EXPECT_EQ(KeyToChar(9), 9);
    EXPECT_EQ(KeyToChar(13), 13);
    EXPECT_EQ(KeyToChar(27), 27);
    for (int key = 33; key <= 40; ++key) EXPECT_EQ(KeyToChar(key), key | 0x10000);
    EXPECT_EQ(KeyToChar(45), 45 | 0x10000);
    EXPECT_EQ(KeyToChar(46), 127);
    for (int key : {0, 16, 17, 32, 41, 44, 47, 65, 112, 255}) EXPECT_EQ(KeyToChar(key), 0) << key;
}

class WindowCallbacksTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReleaseCollectedObjects();
        delegate = new RecordingDelegate;
        host.SetDelegate(delegate);
        host.StartGame();
        delegate->calls.clear();
    }
    void TearDown() override { ReleaseCollectedObjects(); }
    QvGlfwGame host;
    RecordingDelegate* delegate = nullptr;
};

// Key downs carry the character the key types, auto-repeat arrives as further key downs,
// and ignored keys and extra mouse buttons produce nothing.
TEST_F(WindowCallbacksTest, KeyDownsCarryTheirCharacterRepeatAndIgnoredKeysAreSilent) {
    host.OnKey(GLFW_KEY_BACKSPACE, GLFW_PRESS);
    host.OnKey(GLFW_KEY_LEFT_ALT, GLFW_PRESS);
    host.OnKey(GLFW_KEY_LEFT, GLFW_PRESS);
    host.OnMouseButton(3, GLFW_PRESS);
    host.OnKey(GLFW_KEY_A, GLFW_PRESS);
    host.OnKey(GLFW_KEY_A, GLFW_RELEASE);
    host.OnKey(GLFW_KEY_RIGHT_ALT, GLFW_RELEASE);
    host.OnMouseButton(GLFW_MOUSE_BUTTON_LAST, GLFW_RELEASE);
    host.OnKey(GLFW_KEY_DOWN, GLFW_PRESS);
    host.OnKey(GLFW_KEY_DOWN, GLFW_REPEAT);
    host.OnKey(GLFW_KEY_DOWN, GLFW_RELEASE);
    EXPECT_EQ(delegate->calls,
              (std::vector<std::string>{"key 1 8", "key 3 8", "key 1 37", "key 3 65573", "key 1 65",
                                        "key 2 65", "key 1 40", "key 3 65576", "key 1 40",
                                        "key 3 65576", "key 2 40"}));
}

TEST_F(WindowCallbacksTest, CharactersMouseButtonsAndMotionBecomeEvents) {
    host.OnChar(0xE9);
    host.OnMouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    host.OnMouseButton(GLFW_MOUSE_BUTTON_MIDDLE, GLFW_RELEASE);
    host.OnMousePos(10.5, 20.25);
    EXPECT_EQ(delegate->calls,
              (std::vector<std::string>{"key 3 233", "mouse 4 0", "mouse 5 2", "mouse 6 -1"}));
}

TEST_F(WindowCallbacksTest, TheCloseButtonIsTheCloseKeyAndKeepsTheWindow) {
    EXPECT_EQ(host.OnWindowClose(), 0);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"key 1 432", "key 2 432"}));
}

}  // namespace
