// The staged loader: every picture and sound of the game, read one stage per update over
// 25 updates while the loading screen turns, again whenever the window changes size.
#include <algorithm>

#include "game/codes.h"
#include "game/degrees.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "graphics/image.h"

namespace {

// A picture file: the slot it fills, its name in the data folder, and its cells and
// frames at the plain resolution set.
struct Picture {
    int slot = 0;
    const char* name = nullptr;
    int cellW = 0, cellH = 0, frames = 0;
};

constexpr Picture kMakerLogoFile = {picture::kMakerLogo, "common/DorpLogo", 256, 256, 1};
const char* const kFontName = "fonts/shadow_editundo";
constexpr int kSpareSurfaceSize = 2048;

void LoadPicture(c_MyApp& g, const Picture& p) {
    g.p_LoadImg(p.slot, String(p.name), p.cellW, p.cellH, p.frames, c_Image::CentreHandle);
}

void LoadFont(c_MyApp& g) {
    g.p_LoadFont(picture::kFont, String(kFontName), font::kAdvance, font::kLineHeight);
}

void ReserveSpareSurface(c_MyApp& g) {
    g.p_ReserveImg(picture::kSpareSurface, kSpareSurfaceSize, kSpareSurfaceSize);
}

// The jingle greets the first loading only, once the maker's logo shows.
void PlayJingleOnce(c_MyApp& g) {
    if (g.m_LogoSfxDone != 0) return;
    g.p_PlaySFX(sound::kJingle, 1);
    g.m_LogoSfxDone = 1;
}

// One stage: its pictures, then its sounds (slot 0 holds no sound, so 0 means none),
// then its own step if it has one.
struct Stage {
    Picture pictures[2] = {};
    int sounds[2] = {};
    void (*step)(c_MyApp&) = nullptr;
};

using namespace picture;
using namespace sound;

const Stage kStages[] = {
    {{{kIcons, "common/icons", 32, 32, 16}}, {kJingle}, ReserveSpareSurface},
    {{{kButtons, "common/Buttons", 64, 64, 16}}, {kItem}},
    {{{kDpad, "common/dpad", 32, 32, 16}}, {kOpen}},
    {{kMakerLogoFile}, {}, PlayJingleOnce},
    {{}, {kClick}, LoadFont},
    {{{kBackdrop, "menu", 256, 256, 4}, {kLogo, "logo", 256, 128, 1}}, {kSpare}},
    {{{kBadges, "BadgesA", 64, 64, 64}, {kParts, "parts", 8, 8, 256}}},
    {{{kCircles, "common/circle", 256, 256, 4}, {kGlows, "common/light", 32, 32, 4}}},
    {{{kFirstFighter, "plr_1", 36, 36, 9}}},
    {{{kFirstFighter + 1, "plr_2", 36, 36, 9}}},
    {{{kFirstFighter + 2, "plr_3", 36, 36, 9}}},
    {{{kFirstFighter + 3, "plr_4", 36, 36, 9}}},
    {{{kFirstFighter + 4, "plr_5", 36, 36, 9}}},
    {{{kFirstFighter + 5, "plr_6", 36, 36, 9}}},
    {{{kFirstFighter + 6, "plr_7", 36, 36, 9}}},
    {{{kFirstFighter + 7, "plr_8", 36, 36, 9}}},
    {{{kLastFighter, "plr_9", 36, 36, 9}}},
    {{{kTitleTop, "logotop", 256, 128, 1}}},
    {{{kTitleBottom, "logobot", 256, 128, 1}}},
    {{}, {kFirstBlow, kSwing}},
    {{}, {kFirstBlow + 2, kFirstBlow + 3}},
    {{}, {kFirstBlow + 4, kFirstBlow + 5}},
    {{}, {kLastBlow, kPlayerHurt}},
    {{}, {kPlayerDown, kKnockOut}},
};
constexpr int kStageCount = int(sizeof(kStages) / sizeof(kStages[0]));
// The stage after the last that loads: it only ends the loading.
constexpr int kLastStage = kStageCount + 1;

void RunStage(c_MyApp& g, const Stage& stage) {
    for (const Picture& p : stage.pictures) {
        if (p.name) LoadPicture(g, p);
    }
    for (int n : stage.sounds) {
        if (n != 0) g.p_LoadSFX(n);
    }
    if (stage.step) stage.step(g);
}

}  // namespace

int c_MyApp::p_Reload() {
    m_ClsR = 0;
    m_ClsG = 0;
    m_ClsB = 0;
    m_ClsA = 1;
    p_ChooseImageSet();
    LoadPicture(*this, kMakerLogoFile);
    LoadFont(*this);
    m_LoadStage = 1;
    return 0;
}

int c_MyApp::p_Loader() {
    p_ChooseImageSet();
    const int stage = m_LoadStage;
    if (stage >= 1 && stage <= kStageCount) RunStage(*this, kStages[stage - 1]);
    m_LoadStage = stage >= kLastStage ? 0 : stage + 1;
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

    // Twice its size on the reference screen; a shorter or narrower screen shrinks it
    // alike, so it stays whole and clear of "Loading...".
    const float fit = std::min(qv_Vortan_HeightFit(), w / qv_Vortan_rawscrw);
    p_SetCol(255, 255, 255, 1);
    p_SetSize(2 * fit);
    p_DrawImg(picture::kMakerLogo, w * 0.5f, h * 0.48f, 0);
    p_SetSize(1);

    if (withSpinner) {
        ring(255, 125, 0, 120, 0.4f, 12);
        ring(255, 125, 0, 240, 0.35f, 8);
    }

    p_SetCol(255, 255, 255, 1);
    p_Text(w * 0.5f, h - 32, String("Loading..."), 1, 1);
    return 0;
}
