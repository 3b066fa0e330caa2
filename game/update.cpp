// One update of the game: function keys, events, clocks, key holding, then either one
// loader stage or the screen of the current mode, and the overlays on top.
#include <cmath>

#include "audio/audio_module.h"
#include "framework/app.h"
#include "framework/input.h"
#include "game/codes.h"
#include "game/controls.h"
#include "game/globals.h"
#include "game/joining.h"
#include "game/my_app.h"
#include "game/touch_controls.h"
#include "host/game.h"
#include "host/glfw_game.h"
#include "net/async_event.h"

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
    for (int i = 0; i < virtual_pad::kLettered; ++i) {
        if (m_ICade[i] == virtual_pad::kPressed) m_ICade[i] = virtual_pad::kUp;
    }
    p_DebugLine();
    p_ShowBadges();
    return 0;
}

int c_MyApp::p_FunctionKeys() {
    if (qv_input_KeyHit(key::kF1) > 0) qv_Vortan_DebugMode = 1 - qv_Vortan_DebugMode;
    if (qv_input_KeyHit(key::kF2) > 0) m_HideHud = 1 - m_HideHud;
    // The window can change mode without the game (a browser leaves full screen on its own
    // keys), so the flag is read back before F11 or the options' row flips it.
    if (QvGlfwGame* host = QvGlfwGame::_glfwGame) m_Fullscreen = host->FullScreen() ? 1 : 0;
    if (qv_input_KeyHit(key::kF11) > 0) p_AskFullscreenFlip();
    // A new window starts with every key up: a key held over the switch would come back
    // as a new press with the key repeat, and switch again.
    if (m_FlipAsked == 1 && !qv_input_KeyDown(key::kF11) &&
        !AnyPlayerHolds(*this, control::kButtons)) {
        m_FlipAsked = 0;
        p_FullscreenFlip();
    }
    if (qv_input_KeyHit(key::kF4) > 0 || qv_input_KeyHit(kKeyClose) > 0) p_OnClose();
    m_ICade[virtual_pad::kMenu] = qv_input_KeyHit(kKeyBack);
    return 0;
}

int c_MyApp::p_TrackHeldKeys() {
    bool held = false;
    for (int code : control::kHeld) {
        held = p_PlayKeyAll(code, 1) > 0;
        if (held) break;
    }
    if (!held) m_AnyKeyHeld = 0;

    if (PressFree(*this) && m_Mode == mode::kMenu && p_PlayKeyAll(control::kBack, 1) > 0) {
        // Back on the title screen closes whatever is open over it first.
        if (m_PanelA != 0 || m_PanelB != 0 || m_OptionsOpen != 0) {
            m_PanelA = 0;
            m_PanelB = 0;
            TakePress(*this);
        }
    }
    if (m_OptionsOpen == 1 || m_ControlsOpen == 1) TakePress(*this);
    return 0;
}

namespace {

// The options box rises over 30 updates while open and sinks again once closed.
void SlideOptionBox(c_MyApp& g) {
    if (g.m_OptionsOpen == 1 && g.m_OptSlide <= 29) {
        g.m_OptSlide += 1;
    } else if (g.m_OptionsOpen != 1 && g.m_OptSlide > 0) {
        g.m_OptSlide -= 1;
    }
}

// The menu's side panel eases open toward the right edge and closed toward 0.
void SlideSidePanel(c_MyApp& g) {
    float& slide = g.m_PanelSlide;
    if (g.m_PanelB == 1) {
        const float target = qv_Vortan_jscrw - 140;
        if (target > slide) {
            slide -= (slide - target) * 0.125f;
            if (std::fabs(slide - target) < 8) slide = target;
        }
    } else if (slide > 0) {
        slide -= slide * 0.125f;
        if (slide < 8) slide = 0;
    }
}

// The players whose pad's Start began the round come in with it.
void JoinStarters(c_MyApp& g) {
    for (int p = 0; p < pad::kPads; ++p) {
        if (g.m_StartJoiners & (1 << p)) JoinPlayer(g, p + 1);
    }
    g.m_StartJoiners = 0;
}

}  // namespace

int c_MyApp::p_RunScreen() {
    const int screen = m_Mode;
    switch (screen) {
        case mode::kMenu: p_Menu(); break;
        case mode::kBackFromRound:
            p_RecordRound();
            p_PlaySFX(sound::kJingle, 1);
            m_Mode = mode::kMenu;
            p_GameOver();
            break;
        case mode::kRound:
            if (m_QuitRound == -1) {
                // A round quit from the pause panel stands still under the game-over
                // panel: its score is the one recorded.
                p_DoBG();
                p_DrawRound();
            } else if (m_Paused == 0) {
                p_Game();
            }
            p_InGame();
            break;
        case mode::kRoundSetUp:
            p_LoadGame();
            JoinStarters(*this);
            break;
        default: break;
    }
    if (screen != mode::kBackFromRound) {
        if (m_Mode == mode::kRound && m_RoundOver >= 1) p_GameOver();
        if (m_Mode == mode::kMenu || m_Mode == mode::kBackFromRound) p_GameOver();
    }

    if (m_OptionsOpen == 1 || m_OptSlide > 0) p_OptionBox();
    if (m_ControlsOpen == 1) p_ControlsScreen();
    SlideOptionBox(*this);
    SlideSidePanel(*this);
    return 0;
}

namespace {

// Pausing opens the panel with the cursor on resume.
void Pause(c_MyApp& g) {
    g.m_AnyKeyHeld = 1;
    g.m_Paused = 1;
    g.m_PauseSel = 1;
    g.m_PauseRow = pause_row::kResume;
    g.p_PlaySFX(sound::kOpen, 0.5f);
}

}  // namespace

int c_MyApp::p_InGame() {
    p_ResetDraw();
    m_MenuSlide = -32;
    DrawTouchControls(*this);
    if (m_Paused == 0 && m_AnyKeyHeld == 0 && p_PlayKeyAll(control::kBack, 1) > 0) Pause(*this);
    if (m_HideHud == 1) {
        if (m_Paused == 1) p_PauseMenu();
        return 0;
    }
    p_Alpha(m_InputKind == 2 ? 1.0f : 0.2f);
    const int hit = p_Button(picture::kIcons, 16, 16, frame::kPauseIcon);
    if (hit == 1 && m_Paused == 0) {
        m_KeyUsed = 1;
        Pause(*this);
    }
    p_Alpha(1);
    if (m_Paused == 1) p_PauseMenu();
    return 0;
}

int c_MyApp::p_DebugLine() {
    if (qv_Vortan_DebugMode != 1 || m_Mode == mode::kNoDebugLine) return 0;
    p_ResetDraw();
    p_Text(16, qv_Vortan_jscrh - 16,
           String(m_RenderFpsAvg) + String(":") + String(m_ScaleX) + String(",") + String(m_ScaleY),
           0, 0);
    return 0;
}
