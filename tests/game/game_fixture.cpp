// Headless game object for tests (see game_fixture.h).
#include "tests/game/game_fixture.h"

#include <cstdint>
#include <cstdlib>

#include "tests/audio/mix.h"
#include "tests/support/headless_game.h"

namespace {
ScratchDir* audioDir = nullptr;
}  // namespace

gxtkAudio* GameFixture::Audio() {
    static gxtkAudio* audio = nullptr;
    if (!audio) {
        audioDir = new ScratchDir();
        ScratchDir* dir = audioDir;
        dir->Write("alsoft.conf", MixConfig("drivers = wave\n", dir->File("mix.wav")));
        setenv("ALSOFT_CONF", dir->File("alsoft.conf").c_str(), 1);
        audio = gxtkAudio::audio ? gxtkAudio::audio : new gxtkAudio();
        gc_root(audio);
    }
    return audio;
}

void GameFixture::SetUp() {
    scratch = std::make_unique<ScratchDir>();
    static GameTestHost* sharedHost = new GameTestHost();
    host = sharedHost;
    host->clock.now = 1.0;
    host->touchPlay = false;
    host->SetStatePath(String(scratch->File("state").c_str()));
    // Every module global back to its start value (the roots qvInit registers again only
    // mark the same globals twice).
    const HeadlessGame game = StartHeadlessGame(host, Audio());
    app = game.app;
    input = game.input;
}

void GameFixture::TearDown() {
    qv_audio_StopMusic();
    for (int channel = 0; channel < gxtkAudio::kEffectChannels; ++channel)
        qv_audio_StopChannel(channel);
    qv_app__app = nullptr;
    qv_input_device = nullptr;
    app = nullptr;
    input = nullptr;
    gc_collect_all();  // the game object and its tables, before the next test makes its own
}

void GameFixture::SetDevice(int width, int height) {
    qv_app__devWidth = width;
    qv_app__devHeight = height;
}

void GameFixture::Create() { app->p_OnCreate(); }

void GameFixture::Update(int count) {
    for (int i = 0; i < count; ++i) {
        app->p_OnUpdate();
        input->p_EndUpdate();
        host->clock.now += 1.0 / 60.0;
    }
}

void GameFixture::Render() { app->p_OnRender(); }

void GameFixture::FinishLoading() {
    Render();
    for (int i = 0; i < 100 && app->m_LoadStage != 0; ++i) {
        Update();
        Render();
    }
    ASSERT_EQ(app->m_LoadStage, 0);
}

void GameFixture::AdvanceMs(int ms) { host->clock.now += ms / 1000.0; }

void GameFixture::Stick(int port, float x, float y) {
    c_JoyState* joy = input->p_GetJoyState(port);
    joy->m__joyx[0] = x;
    joy->m__joyy[0] = y;
}

void GameFixture::Type(const std::string& chars) {
    for (char c : chars) input->p_KeyEvent(3, static_cast<unsigned char>(c));
}

std::vector<DrawCmd> GameFixture::Commands() const {
    std::vector<DrawCmd> out;
    const float* list = app->m_DrawList.Data();
    for (int at = 0; at + kDrawCmdFloats <= app->m_DrawLen; at += kDrawCmdFloats) {
        const float* c = list + at;
        out.push_back(
            {c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[10], c[11], c[12], int(c[13])});
    }
    return out;
}

std::string GameFixture::DrawnText() const {
    std::string text;
    for (const DrawCmd& c : Commands()) {
        if (c.kind == float(app->m_Font)) text += char(int(c.frame) + 32);
    }
    return text;
}

namespace {

std::string Le(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
    return out;
}

}  // namespace

std::string GameFixture::WriteTone(const std::string& name) const {
    const int frames = 2205;  // 50 ms at 44.1 kHz
    std::string samples;
    for (int i = 0; i < frames; ++i) samples += Le(uint16_t((i % 50 < 25) ? 8000 : -8000), 2);
    std::string fmt = Le(1, 2) + Le(1, 2) + Le(44100, 4) + Le(88200, 4) + Le(2, 2) + Le(16, 2);
    std::string body = "WAVE" + std::string("fmt ") + Le(16, 4) + fmt + "data" +
                       Le(uint32_t(samples.size()), 4) + samples;
    scratch->Write(name, "RIFF" + Le(uint32_t(body.size()), 4) + body);
    return scratch->File(name);
}

std::string GameFixture::RecordedMix() {
    Audio();
    return audioDir->Read("mix.wav");
}

std::string GameFixture::RecordedMixPath() {
    Audio();
    return audioDir->File("mix.wav");
}

c_Sound* GameFixture::LoadTone(const std::string& name) const {
    return qv_audio_LoadSound(String(WriteTone(name).c_str()));
}
