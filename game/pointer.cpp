// The pointer: mouse and touches read into virtual units each update, and the tests
// the menus use to ask whether a touch lies on something they drew. Keys and pads drive
// the screens, which then see no pointer; while the player plays by touch they see taps.
#include <cmath>

#include "framework/app.h"
#include "framework/input.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/table_layouts.h"
#include "game/touch_controls.h"
#include "host/glfw_game.h"

namespace {

constexpr int kTouchPoints = 10;
constexpr int kNowhere = -100;  // a touch point the screens cannot find

// From window pixels to virtual units.
struct Mapping {
    float ox, oy, sx, sy;
    float X(float x) const { return (x - ox) / sx; }
    float Y(float y) const { return (y - oy) / sy; }
};

Mapping PointerMapping(const c_MyApp& g) {
    const float o = qv_Vortan_overscan;
    const float oy = qv_app__devWidth > 0 ? o * float(qv_app__devHeight) / float(qv_app__devWidth)
                                          : 0;
    // Before the first render there is no mapping yet; take the window as the screen.
    return {o, oy, g.m_ScaleX > 0 ? g.m_ScaleX : 1, g.m_ScaleY > 0 ? g.m_ScaleY : 1};
}

bool PlaysByTouch() {
    QvGlfwGame* host = QvGlfwGame::_glfwGame;
    return host && host->TouchPlay();
}

}  // namespace

bool HeldFinger(const c_MyApp& g, int finger, float& x, float& y) {
    if (!qv_input_TouchDown(finger)) return false;
    const Mapping m = PointerMapping(g);
    x = m.X(qv_input_TouchX(finger));
    y = m.Y(qv_input_TouchY(finger));
    return true;
}

int c_MyApp::p_ReadPointer() {
    const Mapping m = PointerMapping(*this);
    m_OldMX = m_MX;
    m_OldMY = m_MY;
    m_MX = int(m.X(qv_input_MouseX()));
    m_MY = int(m.Y(qv_input_MouseY()));
    m_MouseHit = qv_input_MouseHit(0);
    for (int i = 0; i < kTouchPoints; ++i) {
        m_TouchX[i] = int(m.X(qv_input_TouchX(i)));
        m_TouchY[i] = int(m.Y(qv_input_TouchY(i)));
    }
    m_KeyUsed = 0;
    m_MouseWasDown = 0;
    if (PlaysByTouch()) {
        // The screens see the touches that began in this update, so a tap acts once
        // whatever the screen's locks; fingers held on the round's controls press them.
        m_InputKind = input_kind::kPointer;
        m_PointerDown = 0;
        for (int i = 0; i < kTouchPoints; ++i) {
            m_TouchDown[i] = qv_input_KeyHit(key_space::kTouchBase + i) > 0 ? 1 : 0;
            if (m_TouchDown[i] == 0) m_TouchX[i] = kNowhere;
            m_PointerDown |= m_TouchDown[i];
        }
        PressTouchControls(*this);
        return 0;
    }
    m_PointerDown = 0;
    m_InputKind = input_kind::kKeysOrPads;
    for (int i = 0; i < kTouchPoints; ++i) {
        m_TouchDown[i] = qv_input_TouchDown(i) ? 1 : 0;
        m_TouchX[i] = kNowhere;
    }
    return 0;
}

int c_MyApp::p_Button(int slot, float x, float y, float frame) {
    p_DrawImg(slot, x, y, frame);
    const float halfW = m_SizeX * m_ImgScale * float(CellWidth(*this, slot)) / 2;
    const float halfH = m_SizeY * m_ImgScale * float(CellHeight(*this, slot)) / 2;
    m_ButtonHit = 0;
    if (m_PointerDown > 0) {
        for (int i = 0; i < kTouchPoints; ++i) {
            if (std::fabs(float(m_TouchX[i]) - x) < std::fabs(halfW) &&
                std::fabs(float(m_TouchY[i]) - y) < std::fabs(halfH)) {
                m_ButtonHit = 1;
                break;
            }
        }
    }
    return m_ButtonHit;
}

int c_MyApp::p_Button(float x, float y, float frame) {
    return p_Button(picture::kIcons, x, y, frame);
}

int c_MyApp::p_Touch(float x, float y, float w, float h) {
    p_Rect(x, y, w, h);
    // A little slack before the box and more after it, for fingers.
    return p_MouseIn(x - 6, y - 6, w + 18, h + 18);
}

int c_MyApp::p_Touch(float y, float w) { return p_Touch(84, y, w, 24); }

int c_MyApp::p_MouseIn(float x, float y, float w, float h) {
    for (int i = 0; i < kTouchPoints; ++i) {
        if (m_TouchDown[i] == 0) continue;
        const float tx = float(m_TouchX[i]);
        const float ty = float(m_TouchY[i]);
        if (x < tx && tx < x + w && y < ty && ty < y + h) return 1;
    }
    return 0;
}

int c_MyApp::p_MouseIn_Centered(float x, float y, float w, float h) {
    for (int i = 0; i < kTouchPoints; ++i) {
        if (m_TouchDown[i] == 0) continue;
        if (std::fabs(float(m_TouchX[i]) - x) < w / 2 &&
            std::fabs(float(m_TouchY[i]) - y) < h / 2) {
            return 1;
        }
    }
    return 0;
}
