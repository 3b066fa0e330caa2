// iCade input: the cabinet types one letter when a control is pressed and another when
// it is released; each pair drives one element of the virtual pad m_ICade.
#include "game/my_app.h"

namespace {

struct LetterPair {
    char press;
    char release;
    int element;
};

const LetterPair kLetters[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},
    {'Y', 'T', 13}, {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16},
    {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'L', 'V', 17},
};

constexpr int kPadHeld = 2;

void ApplyLetter(Array<int>& pad, int c) {
    if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    for (const LetterPair& pair : kLetters) {
        if (c == pair.press) {
            pad[pair.element] = kPadHeld;
            return;
        }
        if (c == pair.release) {
            pad[pair.element] = 0;
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
        for (int i = 0; i <= 18; ++i) m_ICade[i] = 0;
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
