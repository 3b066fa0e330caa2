// Text drawing: glyph by glyph from the font image, with the game's own spacing,
// button-glyph escapes and line breaks. Each glyph is an image command of the draw list.
#include "framework/app.h"
#include "game/codes.h"
#include "game/degrees.h"
#include "game/my_app.h"
#include "game/table_layouts.h"

namespace {

constexpr int kEscape = 0xAC;  // "¬": the next letter names a button glyph

// Spacing adjustment of a character, in font cells.
int Spacing(int c) {
    switch (c) {
        case 'w':
        case 'm': return 2;
        case 'W':
        case 'M': return 1;
        case 'i':
        case 'f':
        case 'l': return -3;
        case 'j':
        case 's':
        case 'k':
        case 'r':
        case 'z':
        case 't':
        case 'n': return -1;
        default: return 0;
    }
}

// Frame of a button glyph for the letter after the escape, and whether it blinks
// and to which frame.
int ButtonFrame(int letter, int* blinkFrame) {
    *blinkFrame = -1;
    switch (letter) {
        case 'J': *blinkFrame = 109; return 96;
        case 'K': *blinkFrame = 109; return 97;
        case 'L': *blinkFrame = 109; return 98;
        case 'I': *blinkFrame = 109; return 99;
        case 'U': *blinkFrame = 110; return 100;
        case 'O': *blinkFrame = 110; return 101;
        case 'Q': return 102;
        case 'E': return 103;
        case 'F': return 104;
        case 'W': *blinkFrame = 104; return 105;
        case 'S': *blinkFrame = 104; return 106;
        case 'A': *blinkFrame = 104; return 107;
        case 'D': *blinkFrame = 104; return 108;
        default: return letter;
    }
}

// The text as drawn: one leading space, then the text (no copy is made).
struct Padded {
    const String& text;
    int Length() const { return text.Length() + 1; }
    int operator[](int i) const { return i == 0 ? ' ' : text[i - 1]; }
};

// Width from the centre of the leading space to the centre of the last glyph: the last
// character is not counted, and line breaks are counted as characters.
int TextWidth(const Padded& t, float advance, float sizeX) {
    int width = 0;
    for (int i = 0; i + 1 < t.Length(); ++i) {
        int adjust = Spacing(t[i]);
        if (t[i] == kEscape) {
            adjust = 2;
            ++i;
        }
        width = int(float(width) + sizeX * (advance + float(adjust)));
    }
    return width;
}

// The frame and spacing of the button glyph a letter names after the escape. While keys
// drive the screens (input kind 1) the glyphs of the buttons and directions blink; with
// input kind 0 (the keyboard started the round) the still glyphs come 16 frames on.
struct Glyph {
    int frame, adjust;
};
Glyph ButtonGlyph(int letter, bool blinkOn, int inputKind) {
    int blinkFrame;
    Glyph g{ButtonFrame(letter, &blinkFrame), (letter == 'U' || letter == 'O') ? 6 : 4};
    if (blinkOn && blinkFrame >= 0) {
        g.frame = blinkFrame;
    } else if (inputKind == 0) {
        g.frame += 16;
    }
    return g;
}

}  // namespace

int c_MyApp::p_Text(float x, float y, String text, float alignX, float alignY, int fontOffset) {
    const Padded t{text};
    const int n = t.Length();
    const float cw = float(CellWidth(*this, m_Font));
    const float ch = float(CellHeight(*this, m_Font));
    const int slot = m_Font + fontOffset;

    const int width = TextWidth(t, cw, m_SizeX);

    const float r = -m_Rot;
    const float hh = ch * m_SizeY;
    const float x0 = x + SinDeg(-r - 90) * float(width) * alignX * 0.5f +
                     SinDeg(-r) * hh * (alignY - 1) * 0.5f;
    const float y0 = y - CosDeg(-r - 90) * float(width) * alignX * 0.5f -
                     CosDeg(-r) * hh * (alignY - 1) * 0.5f;
    const bool blinkOn = m_InputKind == 1 && qv_app_Millisecs() % 500 < 200;

    int penX = int(x0);
    float penY = y0;
    int line = 0;
    for (int i = 0; i < n; ++i) {
        int c = t[i];
        int frame;
        int adjust;
        if (c == kEscape && i + 1 < n) {
            const Glyph glyph = ButtonGlyph(t[++i], blinkOn, m_InputKind);
            frame = glyph.frame;
            adjust = glyph.adjust;
        } else if (c == '\\' && i + 1 < n && t[i + 1] == 'n') {
            ++i;
            ++line;
            const float l = float(line) * ch * m_SizeY;
            penX = int(x0 + SinDeg(180 - r) * l + cw * m_SizeX * SinDeg(90 - r));
            penY = y0 - l * CosDeg(180 - r);
            continue;
        } else if (c == 0) {
            continue;
        } else {
            frame = c - 32;
            adjust = Spacing(c);
        }
        if (frame >= 1 && frame <= 127) p_DrawImg(slot, float(penX), penY, float(frame));
        const float a = (cw + float(adjust)) * m_SizeX;
        penX = int(float(penX) + a * SinDeg(90 - r));
        penY = penY - a * CosDeg(90 - r);
    }
    return 0;
}

int c_MyApp::p_TextByGlyphs(float x, float y, String text, float alignX, float alignY) {
    return p_Text(x - font::kAdvance * m_SizeX / 2, y, text, alignX, alignY);
}

int c_MyApp::p_TextWidth(String text) {
    return TextWidth(Padded{text}, float(CellWidth(*this, m_Font)), m_SizeX);
}
