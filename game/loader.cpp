// The staged loader (one group of pictures and sounds per update, 25 updates) and the
// loading screen it draws meanwhile.
#include <algorithm>

#include "game/degrees.h"
#include "game/globals.h"
#include "game/my_app.h"

namespace {

constexpr int kLastStage = 25;

}  // namespace

int c_MyApp::p_Loader() {
    p_ChooseImageSet();
    const int stage = m_LoadStage;
    switch (stage) {
        case 1:
            p_LoadImg(97, String("common/icons"), 32, 32, 16, 1);
            p_LoadSFX(96);
            p_ReserveImg(81, 2048, 2048);
            break;
        case 2:
            p_LoadImg(95, String("common/Buttons"), 64, 64, 16, 1);
            p_LoadSFX(1);
            break;
        case 3:
            p_LoadImg(94, String("common/dpad"), 32, 32, 16, 1);
            p_LoadSFX(98);
            break;
        case 4:
            p_LoadImg(93, String("common/DorpLogo"), 256, 256, 1, 1);
            if (m_LogoSfxDone == 0) {
                p_PlaySFX(96, 1);
                m_LogoSfxDone = 1;
            }
            break;
        case 5:
            p_LoadFont(90, String("fonts/shadow_editundo"), 7, 10);
            p_LoadSFX(99);
            break;
        case 6:
            p_LoadImg(99, String("menu"), 256, 256, 4, 1);
            p_LoadImg(98, String("logo"), 256, 128, 1, 1);
            p_LoadSFX(95);
            break;
        case 7:
            p_LoadImg(80, String("BadgesA"), 64, 64, 64, 1);
            p_LoadImg(96, String("parts"), 8, 8, 256, 1);
            break;
        case 8:
            p_LoadImg(85, String("common/circle"), 256, 256, 4, 1);
            p_LoadImg(86, String("common/light"), 32, 32, 4, 1);
            break;
        case 18:
            p_LoadImg(11, String("logotop"), 256, 128, 1, 1);
            break;
        case 19:
            p_LoadImg(12, String("logobot"), 256, 128, 1, 1);
            break;
        default:
            if (stage >= 9 && stage <= 17) {
                const int n = stage - 8;
                p_LoadImg(n, String("plr_") + String(n), 36, 36, 9, 1);
            } else if (stage >= 20 && stage <= 24) {
                const int first = 2 * (stage - 20) + 2;
                p_LoadSFX(first);
                p_LoadSFX(first + 1);
            }
            break;
    }
    if (stage >= kLastStage) {
        m_LoadStage = 0;
    } else {
        m_LoadStage += 1;
    }
    p_WaitStart(1);
    return 0;
}

int c_MyApp::p_WaitStart(int withSpinner) {
    // Fade toward black, as p_DoBG does.
    m_BgTargetR = 0;
    m_BgTargetG = 0;
    m_BgTargetB = 0;
    m_BgR -= m_BgR * 0.125f;
    m_BgG -= m_BgG * 0.125f;
    m_BgB -= m_BgB * 0.125f;
    p_CLS2D(m_BgR, m_BgG, m_BgB, 1);

    const float w = qv_Vortan_jscrw;
    const float h = qv_Vortan_jscrh;
    m_Work = int(std::min(w, h));
    m_SpinAngle += 3;

    // Three rings of eleven dots, each fading in along the ring.
    auto ring = [&](float r, float g, float b, float offset, float distance, float radius) {
        p_SetCol(r, g, b);
        for (int i = 0; i <= 10; ++i) {
            const float a = float(m_SpinAngle) + 4.0f * float(i) + offset;
            p_Alpha(float(i) / 10.0f);
            p_Oval(w / 2 + float(m_Work) * distance * SinDeg(a),
                   h / 2 - float(m_Work) * distance * CosDeg(a), radius, radius);
        }
    };
    if (withSpinner) ring(0, 125, 255, 0, 0.45f, 16);

    p_SetCol(255, 255, 255, 1);
    p_SetSize(2);
    p_DrawImg(93, w * 0.5f, h * 0.48f, 0);
    p_SetSize(1);

    if (withSpinner) {
        ring(255, 125, 0, 120, 0.4f, 12);
        ring(255, 125, 0, 240, 0.35f, 8);
    }

    p_SetCol(255, 255, 255, 1);
    p_Text(w * 0.5f, h - 32, String("Loading..."), 1, 1);
    return 0;
}
