// The game loaded and on its title menu, settled after its slide-in, with helpers to read
// the texts the screens drew and the state file they wrote.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "tests/game/game_fixture.h"
#include "tests/support/state_fields.h"

class FrontEndFixture : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        Create();
        FinishLoading();
        SettleMenu();
    }

    // One run of glyphs drawn on one baseline. Spaces draw no glyph, so texts are
    // compared without them (see Squash).
    struct TextLine {
        std::string text;
        float x = 0, y = 0, size = 0, alpha = 0;
        float r = 0, g = 0, b = 0;
        float lastX = 0;  // centre of the last glyph
    };

    static std::string Squash(const std::string& s) {
        std::string out;
        for (char c : s) {
            if (c != ' ') out += c;
        }
        return out;
    }

    std::vector<TextLine> Lines() const {
        std::vector<TextLine> lines;
        float lastX = 0;
        for (const DrawCmd& c : Commands()) {
            if (c.kind != float(app->m_Font)) continue;
            const bool sameLine = !lines.empty() && lines.back().y == c.y && c.x > lastX;
            if (!sameLine) lines.push_back({"", c.x, c.y, c.a4, c.alpha, c.r, c.g, c.b});
            lines.back().text += char(int(c.frame) + 32);
            lines.back().lastX = c.x;
            lastX = c.x;
        }
        return lines;
    }

    // The first line that reads `text` (spaces ignored), if any.
    std::optional<TextLine> FindLine(const std::string& text) const {
        for (const TextLine& l : Lines()) {
            if (l.text == Squash(text)) return l;
        }
        return std::nullopt;
    }
    bool Shows(const std::string& text) const { return FindLine(text).has_value(); }

    std::vector<DrawCmd> ImagesOf(int slot) const {
        std::vector<DrawCmd> out;
        for (const DrawCmd& c : Commands()) {
            if (c.kind == float(slot)) out.push_back(c);
        }
        return out;
    }
    // The first command drawing `frame` of picture `slot`, if any.
    std::optional<DrawCmd> FindImage(int slot, int frame) const {
        for (const DrawCmd& c : ImagesOf(slot)) {
            if (c.frame == float(frame)) return c;
        }
        return std::nullopt;
    }

    // Updates until the menu's slide-in is over.
    void SettleMenu() {
        for (int i = 0; i < 40 && app->m_MenuSlide < 0; ++i) Update();
        Update();
    }

    // From the menu into a round that has been set up.
    void EnterRound() {
        app->m_Mode = mode::kRoundSetUp;
        Update();
        ASSERT_EQ(app->m_Mode, mode::kRound);
    }

    // Holds a key for `updates` updates, then releases it and lets one update pass.
    void Hold(int key, int updates) {
        KeyDown(key);
        Update(updates);
        KeyUp(key);
        Update();
    }

    // A pad's button held for one update, then let go for one.
    void PadPress(int port, int button) {
        PadDown(port, button);
        Update();
        PadUp(port, button);
        Update();
    }

    // Updates past the game-over panel's least four seconds, then pad 2's A sends it on to
    // the menu.
    void LeaveGameOver() {
        for (int i = 0; i < 241 && app->m_Mode == mode::kRound; ++i) Update();
        PadPress(1, pad::kA);
    }

    // Sound effects started so far (the game moves to the next channel for each).
    int EffectsPlayed() const { return app->m_SfxChannel; }
    // Effects started since EffectsPlayed() gave `before` (fewer than 24).
    int EffectsSince(int before) const { return (app->m_SfxChannel - before + 24) % 24; }

    // A new game object created on the stored state, as at the next start of the program
    // (its pictures not loaded yet).
    void StartAgain() {
        app = (new c_MyApp)->m_new();
        gc_assign(qv_app__app, static_cast<c_App*>(app));
        Create();
    }

    std::string Stored() const { return scratch->Read("state"); }
    void Store(const std::string& state) const { scratch->Write("state", state); }

    // The fields of a stored state string (the piece after the last "|" dropped).
    static std::vector<std::string> SplitFields(const std::string& state) {
        return StateFields(state);
    }
};
