// The draw list: every drawing method records one self-contained command of 15 floats
// that the render replays. Recording never allocates.
#include <algorithm>

#include "game/draw_command.h"
#include "game/globals.h"
#include "game/my_app.h"

using namespace draw_command;

namespace {

float Clamp255(float v) { return std::min(255.0f, std::max(0.0f, v)); }

// Palette multipliers (red, green, blue) of p_Ink; index 0 is the grey of unknown numbers.
const float kInk[10][3] = {
    {0.3f, 0.3f, 0.3f}, {1.0f, 0.1f, 0.1f}, {1.0f, 0.5f, 0.1f}, {1.0f, 1.0f, 0.1f},
    {0.1f, 1.0f, 0.1f}, {0.1f, 1.0f, 1.0f}, {0.1f, 0.1f, 1.0f}, {0.5f, 0.1f, 1.0f},
    {1.0f, 0.1f, 0.5f}, {1.0f, 1.0f, 1.0f},
};

}  // namespace

int c_MyApp::p_ResetDraw() {
    p_SetSize(1);
    m_Rot = 0;
    p_SetCol(255, 255, 255, 1);
    m_Blend = kBlendNormal;
    return 0;
}

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
    m_ClsW = qv_Vortan_jscrw;
    m_ClsH = qv_Vortan_jscrh;
    m_OriginX = 0;
    m_OriginY = 0;
    if (r > kNotGiven) {
        m_ClsR = r;
        m_ClsG = g;
        m_ClsB = b;
        m_ClsA = a;
    }
    p_ResetDraw();
    m_DrawLen = 0;
    return 0;
}

int c_MyApp::p_DoBG(int r, int g, int b, float a) {
    if (r >= -122) m_BgTargetR = float(r);
    if (g >= -122) m_BgTargetG = float(g);
    if (b >= -122) m_BgTargetB = float(b);
    m_BgR = m_BgR - (m_BgR - m_BgTargetR) * 0.125f;
    m_BgG = m_BgG - (m_BgG - m_BgTargetG) * 0.125f;
    m_BgB = m_BgB - (m_BgB - m_BgTargetB) * 0.125f;
    float alpha = a != kBgKeep ? std::min(1.0f, std::max(0.0f, a)) : 1.0f;
    return p_CLS2D(m_BgR, m_BgG, m_BgB, alpha);
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
    m_ColR = r;
    m_ColG = g;
    m_ColB = b;
    if (a > kNotGiven) m_ColA = a;
    return 0;
}

int c_MyApp::p_Ink(int n, float brightness) {
    const float* mul = kInk[(n >= 1 && n <= 9) ? n : 0];
    m_ColR = Clamp255(brightness * mul[0] * 255.0f);
    m_ColG = Clamp255(brightness * mul[1] * 255.0f);
    m_ColB = Clamp255(brightness * mul[2] * 255.0f);
    return 0;
}

int c_MyApp::p_SetSize(float x, float y) {
    m_SizeX = x;
    m_SizeY = y > kNotGiven ? y : x;
    return 0;
}

int c_MyApp::p_SetRot(float deg) {
    m_Rot = -deg;
    return 0;
}

int c_MyApp::p_Alpha(float a) {
    m_ColA = a;
    return 0;
}

namespace {

// Writes one command at the end of the list, or nothing when the list is full
// (it holds exactly 2500 commands).
bool Record(c_MyApp* app, float kind, float x, float y, float rot, float width, float height,
            float frame) {
    if (app->m_DrawLen + kDrawCmdFloats > kDrawListFloats) return false;
    float* cmd = app->m_DrawList.Data() + app->m_DrawLen;
    cmd[kKind] = kind;
    cmd[kX] = x;
    cmd[kY] = y;
    cmd[kRotation] = rot;
    cmd[kWidth] = width;
    cmd[kHeight] = height;
    cmd[kFrame] = frame;
    cmd[kAlpha] = app->m_ColA;
    cmd[kRed] = app->m_ColR;
    cmd[kGreen] = app->m_ColG;
    cmd[kBlue] = app->m_ColB;
    cmd[kBlend] = float(app->m_Blend);
    app->m_DrawLen += kDrawCmdFloats;
    return true;
}

}  // namespace

int c_MyApp::p_DrawImg(int slot, float x, float y, float frame) {
    Record(this, float(slot), x, y, m_Rot, m_SizeX, m_SizeY, frame);
    return 0;
}

int c_MyApp::p_Rect(float x, float y, float w, float h) {
    Record(this, kCmdRect, x, y, m_Rot, w, h, 0);
    return 0;
}

int c_MyApp::p_Oval(float x, float y, float rx, float ry) {
    Record(this, kCmdOval, x, y, m_Rot, rx, ry, 0);
    return 0;
}

int c_MyApp::p_Line(float x1, float y1, float x2, float y2) {
    Record(this, kCmdLine, x1, y1, m_Rot, x2, y2, 0);
    return 0;
}
