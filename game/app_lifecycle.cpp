// Start, suspension, resumption and end of the game.
#include "framework/app.h"
#include "framework/input.h"
#include "game/bindings.h"
#include "game/check_in.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"

int c_MyApp::p_OnCreate() {
    m_Fullscreen = 0;
    m_LogoSfxDone = 0;
    m_WheelSel = 1;
    m_WheelTarget = -32.0f;
    if (qv_Vortan_J_On_Allow == 1) {
        p_GetURL(qv_Vortan_CheckInUrl, String("hello=1&gameID=") + String(qv_Vortan_GameNum));
    }
    m_Mode = mode::kMenu;
    qv_app_SetUpdateRate(60);
    m_LastDevW = qv_app_DeviceWidth();
    m_LastDevH = qv_app_DeviceHeight();
    p_Reload();

    m_Difficulty = 2;
    m_MenuSlide = -32;
    m_Paused = 0;
    m_PauseSel = -1;
    m_PauseSlide = -64;
    for (int i = 0; i < m_BadgeQueue.Length(); ++i) m_BadgeQueue[i] = 0;
    for (int i = 0; i < m_BadgeTimer.Length(); ++i) m_BadgeTimer[i] = 0;
    for (int i = 0; i <= 127; ++i) m_Badge[i] = false;
    for (int i = 0; i < virtual_pad::kLettered; ++i) m_ICade[i] = virtual_pad::kUp;
    for (int i = 0; i < m_Setting.Length(); ++i) m_Setting[i] = 0;
    m_Setting[setting::kSoundMode] = sound_mode::kEffectsAndMusic;
    for (int i = 0; i <= 30; ++i) m_HiScore[i] = 0;
    p_Load();
    GiveEachKeyOneOwner(*this);

    for (int i = 0; i < m_ChannelMap.Length(); ++i) m_ChannelMap[i] = i;
    return 0;
}

namespace {

// A round interrupted by a suspension comes back with the pause panel open.
void ApplySuspendPause(c_MyApp* app) {
    if (mode::InRound(app->m_Mode)) {
        app->m_Paused = 1;
        app->m_PauseSel = 1;
        app->m_PauseSlide = int(qv_Vortan_jscrh * 0.5f);
    } else {
        app->m_Paused = 0;
        app->m_PauseSel = 0;
        app->m_PauseSlide = 0;
    }
}

void ICadeOff(c_MyApp* app) {
    qv_input_DisableKeyboard();
    qv_Vortan_iCadeControls = 0;
    for (int i = 0; i < virtual_pad::kLettered; ++i) app->m_ICade[i] = virtual_pad::kUp;
}

}  // namespace

int c_MyApp::p_OnSuspend() {
    ICadeOff(this);
    ApplySuspendPause(this);
    qv_app_SetUpdateRate(5);
    p_RecordRound();  // the window may never come back
    p_Save();
    return 0;
}

int c_MyApp::p_OnClose() {
    p_RecordRound();
    qv_app_EndApp();
}

int c_MyApp::p_OnResume() {
    ApplySuspendPause(this);
    qv_app_SetUpdateRate(60);
    ICadeOff(this);
    return 0;
}
