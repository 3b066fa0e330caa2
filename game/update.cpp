// One update of the game: function keys, events, clocks, key holding, then either one
// loader stage or the screen of the current mode, and the overlays on top.
#include <cmath>

#include "game/my_app.h"

namespace {

// Windows virtual-key codes of the function keys, and the keys the host raises.
constexpr int kKeyF1 = 112;
constexpr int kKeyF2 = 113;
constexpr int kKeyF4 = 115;
constexpr int kKeyF11 = 122;
constexpr int kKeyBackCode = 416;
constexpr int kKeyCloseCode = 432;

// Action controls whose hold keeps m_AnyKeyHeld set.
const int kHeldCodes[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};

}  // namespace

int c_MyApp::p_OnUpdate() {
    p_FunctionKeys();
    qv_asyncevent_UpdateAsyncEvents();
    if (qv_Vortan_HasMusicStream == 1 && m_MusicOn == 1) {
        if (m_Paused != 0) {
            qv_audio_PauseMusic();
        } else {
            qv_audio_ResumeMusic();
        }
    }

    const int now = qv_app_Millisecs();
    if (now - m_UpdLast >= 1) m_UpdFps = 1000 / (now - m_UpdLast);
    m_UpdFpsAvg = (m_UpdFps + 9 * m_UpdFpsAvg) / 10;
    m_UpdLast = qv_app_Millisecs();

    p_ReadPointer();
    p_TrackHeldKeys();
    if (m_LoadStage == 0) {
        p_RunScreen();
    } else {
        p_Loader();
    }

    if (qv_Vortan_iCadeControls == 1) p_ReadICadeLetters();
    // A virtual-pad press lasts one update.
    for (int i = 0; i <= 18; ++i) {
        if (m_ICade[i] == 1) m_ICade[i] = 0;
    }
    p_DebugLine();
    p_ShowBadges();
    return 0;
}

int c_MyApp::p_FunctionKeys() {
    if (qv_input_KeyHit(kKeyF1) > 0) qv_Vortan_DebugMode = 1 - qv_Vortan_DebugMode;
    if (qv_input_KeyHit(kKeyF2) > 0) m_HideHud = 1 - m_HideHud;
    if (qv_input_KeyHit(kKeyF11) > 0) p_FullscreenFlip();
    if (qv_input_KeyHit(kKeyF4) > 0 || qv_input_KeyHit(kKeyCloseCode) > 0) qv_app_EndApp();
    m_ICade[19] = qv_input_KeyHit(kKeyBackCode);
    return 0;
}

int c_MyApp::p_TrackHeldKeys() {
    bool held = false;
    for (int code : kHeldCodes) {
        for (int p = 0; p < 4 && !held; ++p) held = p_PlayKey(code, 1, p) == 1;
        if (held) break;
    }
    if (!held) m_AnyKeyHeld = 0;

    if (m_AnyKeyHeld == 0 && m_KeyUsed == 0 && m_Mode == 1 && p_PlayKeyAll(99, 1) > 0) {
        // Back on the title screen closes whatever is open over it first.
        if (m_PanelA != 0 || m_PanelB != 0 || m_OptionsOpen != 0) {
            m_PanelA = 0;
            m_PanelB = 0;
            m_AnyKeyHeld = 1;
            m_KeyUsed = 1;
        }
    }
    if (m_OptionsOpen == 1) {
        m_AnyKeyHeld = 1;
        m_KeyUsed = 1;
    }
    return 0;
}

int c_MyApp::p_RunScreen() {
    const int mode = m_Mode;
    switch (mode) {
        case 1:
            p_Menu();
            break;
        case 2:
            p_LoadMenu();
            p_PlaySFX(96, 1);
            m_Mode = 1;
            p_GameOver();
            break;
        case 10:
            if (m_Paused == 0) p_Game();
            p_InGame();
            break;
        case 11:
            p_LoadGame();
            break;
        default:
            break;
    }
    if (mode != 2) {
        if (m_Mode == 10 && m_RoundOver >= 1) p_GameOver();
        if (m_Mode == 1 || m_Mode == 2) p_GameOver();
    }

    if (m_OptionsOpen == 1 || m_OptSlide > 0) p_OptionBox();
    if (m_OptionsOpen == 1 && m_OptSlide <= 29) {
        m_OptSlide += 1;
    } else if (m_OptionsOpen != 1 && m_OptSlide > 0) {
        m_OptSlide -= 1;
    }

    // The menu's side panel eases open toward the right edge and closed toward 0.
    if (m_PanelB == 1) {
        const float target = qv_Vortan_jscrw - 140;
        if (target > m_PanelSlide) {
            m_PanelSlide -= (m_PanelSlide - target) * 0.125f;
            if (std::fabs(m_PanelSlide - target) < 8) m_PanelSlide = target;
        }
    } else if (m_PanelSlide > 0) {
        m_PanelSlide -= m_PanelSlide * 0.125f;
        if (m_PanelSlide < 8) m_PanelSlide = 0;
    }
    return 0;
}

int c_MyApp::p_InGame() {
    p_ResetDraw();
    m_MenuSlide = -32;
    if (m_Paused == 0 && m_AnyKeyHeld == 0 && p_PlayKeyAll(99, 1) > 0) {
        m_AnyKeyHeld = 1;
        m_Paused = 1;
        m_PauseSel = 1;
        m_PauseRow = 0;
        p_PlaySFX(98, 0.5f);
    }
    if (m_HideHud == 1) {
        if (m_Paused == 1) p_PauseMenu();
        return 0;
    }
    p_Alpha(m_InputKind == 2 ? 1.0f : 0.2f);
    const int hit = p_Button(97, 16, 16, 0);
    if (hit == 1 && m_Paused == 0) {
        m_AnyKeyHeld = 1;
        m_Paused = 1;
        m_PauseSel = 1;
        m_PauseRow = 0;
        m_KeyUsed = 1;
        p_PlaySFX(98, 0.5f);
    }
    p_Alpha(1);
    if (m_Paused == 1) p_PauseMenu();
    return 0;
}

int c_MyApp::p_DebugLine() {
    if (qv_Vortan_DebugMode != 1 || m_Mode == 5) return 0;
    p_ResetDraw();
    p_Text(16, qv_Vortan_jscrh - 16,
           String(m_RenderFpsAvg) + String(":") + String(m_ScaleX) + String(",") + String(m_ScaleY),
           0, 0);
    return 0;
}
