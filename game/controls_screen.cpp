// The Controls screen: each player's bindings, one row per action, over the options box or
// the pause panel. Any keyboard or pad works it; choosing an action waits for the next key
// or button pressed and binds it to that action of the player shown (Escape or a pad's
// back cancels; the function keys are refused). A key taken from another player says so
// under the rows. Every change is saved at once, so a quit from here loses nothing.
#include <algorithm>

#include "framework/input.h"
#include "game/bindings.h"
#include "game/codes.h"
#include "game/controls.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/row_bar.h"

using namespace control;

namespace {

// Rows: the player, the actions, reset, back.
constexpr int kPlayerRow = 0;
constexpr int kFirstActionRow = 1;
constexpr int kResetRow = kFirstActionRow + binding::kActionCount;
constexpr int kBackRow = kResetRow + 1;
constexpr int kRowCount = kBackRow + 1;

constexpr float kTop = 48, kRowStep = 38, kBarHeight = 26, kMargin = 24;
constexpr float kTextSize = 2;

const char* const kActionNames[binding::kActionCount] = {"Up",   "Left",   "Right", "Down",
                                                         "Jump", "Strike", "Pause"};

// The action's keys, then its buttons.
String BindingsText(c_MyApp& g, int action) {
    const int* slots = BindingSlots(g, g.m_CtlPlayer, action);
    String text = String(kActionNames[action]) + " :";
    bool first = true;
    for (bool buttons : {false, true}) {
        for (int i = 0; i < binding::kSlots; ++i) {
            if (slots[i] == binding::kEmpty || binding::IsButton(slots[i]) != buttons) continue;
            text = text + (first ? " " : ", ") + BindingName(slots[i]);
            first = false;
        }
    }
    return text;
}

String RowText(c_MyApp& g, int row) {
    if (row == kPlayerRow) return String("< Player ") + String(g.m_CtlPlayer + 1) + " >";
    if (row == kResetRow) return "Reset to defaults";
    if (row == kBackRow) return "<[BACK]";
    const int action = row - kFirstActionRow;
    if (g.m_CtlCapture == 1 && g.m_CtlRow == row) {
        return String(kActionNames[action]) + " : press a key or button";
    }
    return BindingsText(g, action);
}

void Close(c_MyApp& g) {
    g.m_ControlsOpen = 0;
    g.m_CtlCapture = 0;
    g.m_CtlNote = String();
    g.p_PlaySFX(sound::kClick, 1);
    g.p_Save();
}

// The key or button pressed in this update, or 0; Escape and a pad's back or start
// give -1 (cancel).
int PressedCode() {
    if (qv_input_KeyHit(key::kEscape) > 0) return -1;
    for (int k = key_space::kFirstKeyboard; k <= key_space::kLastKeyboard; ++k) {
        if (qv_input_KeyHit(k) > 0) return k;
    }
    for (int port = 0; port < key_space::kPorts; ++port) {
        for (int b = 0; b < key_space::kButtonsPerPort; ++b) {
            if (qv_input_JoyHit(b, port) == 0) continue;
            if (b == pad::kBack || b == pad::kStart) return -1;
            return binding::ButtonCode(b);
        }
    }
    return 0;
}

void Bind(c_MyApp& g, int code) {
    const int from = Rebind(g, g.m_CtlPlayer, g.m_CtlRow - kFirstActionRow, code);
    if (from >= 0) {
        g.m_CtlNote = BindingName(code) + " moved from Player " + String(from + 1);
    }
    g.p_Save();
}

void Capture(c_MyApp& g) {
    const int code = g.m_PointerDown > 0 ? -1 : PressedCode();  // a tap cancels
    if (code == 0) return;
    if (binding::KeptByTheGame(code)) {
        // The capture goes on: the next key pressed may be bound.
        g.m_CtlNote = BindingName(code) + " is the game's own key";
        return;
    }
    g.m_CtlNote = String();
    if (code > 0) Bind(g, code);
    g.m_CtlCapture = 0;
    g.m_CtlKeyLock = 1;
    g.p_PlaySFX(sound::kClick, 1);
}

void ShowPlayer(c_MyApp& g, int step) {
    g.m_CtlPlayer = (g.m_CtlPlayer + step + binding::kPlayers) % binding::kPlayers;
}

void Activate(c_MyApp& g) {
    const int row = g.m_CtlRow;
    if (row == kPlayerRow) {
        ShowPlayer(g, +1);
    } else if (row == kResetRow) {
        ResetBindings(g);
        g.p_Save();
    } else if (row == kBackRow) {
        Close(g);
        return;
    } else {
        g.m_CtlCapture = 1;
    }
    g.p_PlaySFX(sound::kClick, 1);
}

void Keys(c_MyApp& g) {
    if (g.m_CtlKeyLock != 0) return;
    bool acted = true;
    if (AnyPlayerHolds(g, kBack)) {
        Close(g);
    } else if (AnyPlayerHolds(g, kButtons)) {
        Activate(g);
    } else if (g.m_CtlRow == kPlayerRow && AnyPlayerHolds(g, {kLeft, kRight})) {
        ShowPlayer(g, AnyPlayerHolds(g, kRight) ? +1 : -1);
        g.p_PlaySFX(sound::kClick, 1);
    } else if (AnyPlayerHolds(g, kUp) && g.m_CtlRow > 0) {
        g.m_CtlRow -= 1;
        g.p_PlaySFX(sound::kClick, 1);
    } else if (AnyPlayerHolds(g, kDown) && g.m_CtlRow < kRowCount - 1) {
        g.m_CtlRow += 1;
        g.p_PlaySFX(sound::kClick, 1);
    } else {
        acted = false;
    }
    if (!acted) return;
    g.m_CtlKeyLock = 1;
    g.m_CtlNote = String();  // a note stands until the next action
}

float RowTop(int row, float fit) { return (kTop + kRowStep * row) * fit; }

// A tap on a row moves the cursor there and acts on it.
void Taps(c_MyApp& g, float w) {
    if (g.m_CtlKeyLock != 0) return;
    const float fit = qv_Vortan_HeightFit();
    for (int row = 0; row < kRowCount; ++row) {
        const float top = RowTop(row, fit) - (kRowStep - kBarHeight) / 2 * fit;
        if (!g.p_MouseIn(kMargin, top, w - 2 * kMargin, kRowStep * fit)) continue;
        g.m_CtlRow = row;
        Activate(g);
        g.m_CtlKeyLock = 1;
        return;
    }
}

// The rows' texts and the note at one size, as large as the widest fits between the
// bars' ends.
float TextSize(c_MyApp& g, float w, float fit) {
    g.p_SetSize(kTextSize);
    float widest = float(g.p_TextWidth(g.m_CtlNote));
    for (int row = 0; row < kRowCount; ++row) {
        widest = std::max(widest, float(g.p_TextWidth(RowText(g, row))));
    }
    widest += font::kAdvance * 2;
    return std::min(kTextSize * fit, kTextSize * (w - 4 * kMargin) / widest);
}

void Draw(c_MyApp& g, float w, float h) {
    const float fit = qv_Vortan_HeightFit();
    g.p_SetCol(20, 20, 60, 0.95f);
    g.p_Rect(0, 0, w, h);
    const float size = TextSize(g, w, fit);
    for (int row = 0; row < kRowCount; ++row) {
        const float y = RowTop(row, fit);
        DrawRowBar(g, row == g.m_CtlRow, kMargin, y, w - 2 * kMargin, kBarHeight * fit);
        if (g.m_CtlCapture == 1 && row == g.m_CtlRow) {
            g.p_SetCol(255, 255, 100, 1);
        } else {
            g.p_SetCol(255, 255, 255, 1);
        }
        g.p_SetSize(size);
        g.p_Text(2 * kMargin, y + kBarHeight * fit / 2, RowText(g, row), 0, 1);
    }
    g.p_SetCol(255, 255, 100, 1);
    g.p_Text(2 * kMargin, RowTop(kRowCount, fit) + kBarHeight * fit / 2, g.m_CtlNote, 0, 1);
}

}  // namespace

int c_MyApp::p_OpenControls() {
    m_ControlsOpen = 1;
    m_CtlRow = kPlayerRow;
    m_CtlCapture = 0;
    m_CtlNote = String();
    m_CtlKeyLock = 1;  // the press that opened the screen does not act in it
    return 0;
}

int c_MyApp::p_ControlsScreen() {
    p_ResetDraw();
    TakePress(*this);
    if (m_CtlCapture == 1) {
        Capture(*this);
    } else {
        Keys(*this);
        Taps(*this, qv_Vortan_jscrw);
    }
    if (!AnyPlayerHolds(*this, kHeld)) m_CtlKeyLock = 0;
    if (m_ControlsOpen != 0) Draw(*this, qv_Vortan_jscrw, qv_Vortan_jscrh);
    p_ResetDraw();
    return 0;
}
