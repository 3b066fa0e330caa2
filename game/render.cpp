// One frame: clear the window, notice a new device size (a round's field follows its
// floor onto the new screen), map the virtual screen and replay what the last update
// recorded.
#include "framework/app.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "graphics/graphics.h"

int c_MyApp::p_OnRender() {
    const int now = qv_app_Millisecs();
    if (now - m_RenderLast >= 1) m_RenderFps = 1000 / (now - m_RenderLast);
    m_RenderFpsAvg = (m_RenderFps + 9 * m_RenderFpsAvg) / 10;
    m_RenderLast = qv_app_Millisecs();

    const int devW = qv_app_DeviceWidth();
    const int devH = qv_app_DeviceHeight();
    qv_graphics_SetColor(m_ClsR, m_ClsG, m_ClsB);
    qv_graphics_SetAlpha(m_ClsA);
    qv_graphics_DrawRect(-1, -1, float(devW + 2), float(devH + 2));
    qv_graphics_SetColor(255, 255, 255);
    qv_graphics_SetAlpha(1);

    // A new window size needs the pictures of the resolution set that fits it.
    if (devW != m_LastDevW || devH != m_LastDevH) {
        m_LastDevW = devW;
        m_LastDevH = devH;
        m_LoadStage = 1;
    }

    const float oldH = qv_Vortan_jscrh;
    p_MapVirtualScreen(devW, devH);
    if (m_Mode == mode::kRound && qv_Vortan_jscrh != oldH) p_RoundResized(oldH);
    p_ReplayDrawList();
    return 0;
}
