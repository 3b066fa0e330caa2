// iCade input: the cabinet types one letter when a control is pressed and another when
// it is released; each pair drives one element of the virtual pad m_ICade.
#include "framework/input.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"

using namespace control;

namespace {

struct LetterPair {
    char press;
    char release;
    int element;
};

const LetterPair kLetters[] = {
    {'W', 'E', kUp},
    {'X', 'Z', kDown},
    {'A', 'Q', kLeft},
    {'D', 'C', kRight},
    {'Y', 'T', kButtonY},
    {'U', 'F', kLeftShoulder},
    {'I', 'M', kRightShoulder},
    {'O', 'G', virtual_pad::kBackA},
    {'H', 'R', kJump},
    {'J', 'N', kStrike},
    {'K', 'P', kButtonX},
    {'L', 'V', virtual_pad::kBackB},
};

void ApplyLetter(Array<int>& pad, int c) {
    if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    for (const LetterPair& pair : kLetters) {
        if (c == pair.press) {
            pad[pair.element] = virtual_pad::kHeld;
            return;
        }
        if (c == pair.release) {
            pad[pair.element] = virtual_pad::kUp;
            return;
        }
    }
}

}  // namespace

int c_MyApp::p_iCade(int on) {
    if (on == 1) {
        qv_input_EnableKeyboard();
        qv_Vortan_iCadeControls = 1;
        // Whatever was typed before iCade came on is not a cabinet letter.
        do {
            m_LastChar = qv_input_GetChar();
        } while (m_LastChar != 0);
    } else {
        qv_input_DisableKeyboard();
        qv_Vortan_iCadeControls = 0;
        for (int i = 0; i < virtual_pad::kLettered; ++i) m_ICade[i] = virtual_pad::kUp;
    }
    return 0;
}

int c_MyApp::p_ReadICadeLetters() {
    for (;;) {
        m_LastChar = qv_input_GetChar();
        if (m_LastChar == 0) break;
        if (m_LastChar < 1) continue;
        ApplyLetter(m_ICade, m_LastChar);
    }
    return 0;
}
