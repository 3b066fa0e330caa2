// The virtual screen: one uniform scale from virtual units to device pixels, and the
// replay of the draw list through the graphics module.
#include <algorithm>
#include <cmath>

#include "framework/app.h"
#include "game/draw_command.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/replay_order.h"
#include "graphics/graphics.h"

using namespace draw_command;

float qv_Vortan_HeightFit() { return std::min(1.0f, qv_Vortan_jscrh / qv_Vortan_rawscrh); }

int c_MyApp::p_MapVirtualScreen(int devW, int devH) {
    const float w = float(devW);
    const float h = float(devH);
    const float o = qv_Vortan_overscan;
    const float v = devH > devW ? 1.5f : 1.0f;  // portrait windows see more of the field
    const float dw = qv_Vortan_rawscrw * v;
    const float dh = qv_Vortan_rawscrh * v;
    const float sx = (w - 2 * o) / dw;
    const float sy = (h - 2 * o) / dh;
    m_ScaleX = sx;
    m_ScaleY = sy;
    if (sx > sy) {
        m_FitAxis = 1;
    } else {
        m_FitAxis = std::fabs(sy - 1) < std::fabs(sx - 1) ? 2 : 1;
    }
    // The fitted axis keeps its reference length and the other follows the window's
    // shape, worked out in one exact step from whole numbers: a window of 1280 x 1024 is
    // 600 x 480 units, where dividing by a rounded scale gave 599.99994.
    if (sy <= sx) {
        m_ScaleY = sx;
        qv_Vortan_jscrw = dw;
        qv_Vortan_jscrh = float(double(devH) * dw / devW);
    } else {
        m_FitAxis = 2;
        m_ScaleX = sy;
        qv_Vortan_jscrw = float(double(devW) * dh / devH);
        qv_Vortan_jscrh = dh;
    }
    m_Landscape = qv_Vortan_jscrh <= qv_Vortan_jscrw ? 1 : 0;
    return 0;
}

namespace {

// Where the virtual screen lands in the window this frame.
ScreenMapping WindowMapping(const c_MyApp& g) {
    const float w = float(qv_app__devWidth);
    const float h = float(qv_app__devHeight);
    const float o = qv_Vortan_overscan;
    return {o, w > 0 ? o * h / w : 0, g.m_ScaleX, g.m_ScaleY, w, h};
}

}  // namespace

int c_MyApp::p_ReplayDrawList() {
    const ReplayOrder order = OrderDrawList(*this, WindowMapping(*this));
    for (int k = 0; k < order.count; ++k) p_ReplayCommand(order.starts[k]);
    return 0;
}

int c_MyApp::p_ReplayCommand(int start) {
    const auto [o, oy, sx, sy, w, h] = WindowMapping(*this);
    const float* cmd = m_DrawList.Data() + start;
    qv_graphics_SetAlpha(cmd[kAlpha]);
    qv_graphics_SetColor(cmd[kRed], cmd[kGreen], cmd[kBlue]);
    qv_graphics_SetBlend(cmd[kBlend] == kBlendAdditive ? 1 : 0);
    const Shape shape = ShapeOf(cmd[kKind]);
    const float x = o + sx * cmd[kX];
    const float y = oy + sy * cmd[kY];
    if (shape == Shape::kRect) {
        qv_graphics_DrawRect(x, y, sx * cmd[kWidth], sy * cmd[kHeight]);
    } else if (shape == Shape::kOval) {
        qv_graphics_DrawEllipse(x, y, sx * cmd[kWidth], sy * cmd[kHeight]);
    } else if (shape == Shape::kLine) {
        qv_graphics_DrawLine(x, y, o + sx * cmd[kWidth], oy + sy * cmd[kHeight]);
    } else if (shape == Shape::kPicture) {
        const int slot = int(cmd[kKind]);
        if (slot < m_Img.Length() && m_Img[slot]) {
            qv_graphics_DrawImage2(m_Img[slot], x, y, cmd[kRotation], cmd[kWidth] * sx * m_ImgScale,
                                   cmd[kHeight] * sy * m_ImgScale, int(cmd[kFrame]));
        }
    }
    return 0;
}
