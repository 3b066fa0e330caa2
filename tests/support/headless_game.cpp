// The game without a window (see headless_game.h).
#include "tests/support/headless_game.h"

#include "audio/audio_module.h"
#include "framework/app.h"
#include "framework/input.h"
#include "game/codes.h"
#include "game/my_app.h"
#include "game/table_layouts.h"
#include "host/game.h"
#include "host/memory_policy.h"
#include "host/startup.h"

HeadlessGame StartHeadlessGame(QvGame* host, gxtkAudio* audio) {
    qvKeepLargeBlocksApart();
    QvGame::_game = host;
    qvInit();
    qv_app__devWidth = 640;
    qv_app__devHeight = 480;
    if (audio) qv_audio_SetAudioDevice(audio);
    HeadlessGame game;
    game.input = (new c_InputDevice)->m_new();
    qv_input_SetInputDevice(game.input);
    game.app = (new c_MyApp)->m_new();
    gc_assign(qv_app__app, static_cast<c_App*>(game.app));
    return game;
}

void SetFontMetrics(c_MyApp* app) {
    app->m_Font = picture::kFont;
    CellWidth(*app, picture::kFont) = font::kAdvance;
    CellHeight(*app, picture::kFont) = font::kLineHeight;
}

void SetSoundsAsCreated(c_MyApp* app) {
    app->m_Setting[setting::kSoundMode] = sound_mode::kEffectsAndMusic;
    for (int i = 0; i < app->m_ChannelMap.Length(); ++i) app->m_ChannelMap[i] = i;
}
