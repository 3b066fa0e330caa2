// "Quit?" over the title (see quit_question.h): its box small enough for the narrowest
// screen, in sizes the round's own texts use.
#include "game/quit_question.h"

#include <algorithm>

#include "game/codes.h"
#include "game/controls.h"
#include "game/my_app.h"

namespace {

constexpr float kTitleSize = 2, kAnswerSize = 1.5f;
constexpr float kPad = 10;  // inside the box, around and between its lines
constexpr const char* kTitle = "Quit?";
constexpr const char* kYes = "A or Enter: quit";
constexpr const char* kNo = "B or Esc: keep playing";

float LineHeight(float size) { return font::kLineHeight * size; }

// A line's span from its first glyph's left edge to its last glyph's right edge: the
// text's width, which runs from the middle of the space drawn before it.
float Span(c_MyApp& g, const char* text, float size) {
    g.p_SetSize(size);
    return float(g.p_TextWidth(text));
}

void Draw(c_MyApp& g, float w, float h) {
    const float boxW = std::max({Span(g, kTitle, kTitleSize), Span(g, kYes, kAnswerSize),
                                 Span(g, kNo, kAnswerSize)}) +
                       2 * kPad;
    const float boxH = LineHeight(kTitleSize) + 2 * LineHeight(kAnswerSize) + 3 * kPad;
    const float left = (w - boxW) / 2, top = (h - boxH) / 2;
    g.p_SetRot(0);
    g.p_SetSize(1);
    g.p_SetCol(0, 0, 0, 0.5f);
    g.p_Rect(-1, -1, w + 2, h + 2);
    g.p_SetCol(0, 0, 60, 0.9f);
    g.p_Rect(left, top, boxW, boxH);
    g.p_SetCol(255, 255, 255, 0.8f);
    g.p_Rect(left, top, boxW, 2);
    const float middle = w / 2;
    float y = top + kPad + LineHeight(kTitleSize) / 2;
    g.p_SetCol(255, 180, 180, 1);
    g.p_SetSize(kTitleSize);
    g.p_TextByGlyphs(middle, y, kTitle, 1, 1);
    g.p_SetCol(255, 255, 255, 1);
    g.p_SetSize(kAnswerSize);
    y += LineHeight(kTitleSize) / 2 + kPad + LineHeight(kAnswerSize) / 2;
    g.p_TextByGlyphs(middle, y, kYes, 1, 1);
    y += LineHeight(kAnswerSize);
    g.p_TextByGlyphs(middle, y, kNo, 1, 1);
    g.p_ResetDraw();
}

}  // namespace

void AskQuit(c_MyApp& g) { g.m_QuitAsked = 1; }

// No is asked first: a back key a player has also bound to jump, like the one that asked,
// answers no.
void QuitQuestion(c_MyApp& g, float w, float h) {
    Draw(g, w, h);
    if (!PressFree(g)) return;
    if (AnyPlayerHolds(g, {control::kStrike, control::kBack})) {
        g.m_QuitAsked = 0;
        g.p_PlaySFX(sound::kClick, 1);
        TakePress(g);
    } else if (AnyPlayerHolds(g, control::kJump)) {
        qvError(String());
    }
}
