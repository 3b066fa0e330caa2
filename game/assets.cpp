// Asset slots: pictures by slot number at the resolution set that fits the device,
// and sound effects by slot number.
#include "audio/audio_module.h"
#include "framework/app.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/table_layouts.h"
#include "graphics/graphics.h"

int c_MyApp::p_ChooseImageSet() {
    const int w = qv_app_DeviceWidth();
    const int h = qv_app_DeviceHeight();
    int r = 1;
    if (w > 1230 || h > 1230) {
        r = 4;
    } else if (w > 630 || h > 630) {
        r = 2;
    }
    if (qv_Vortan_UseHDImages == 0) r = 1;
    m_ImgRes = r;
    m_ImgScale = 1.0f / float(r);
    return 0;
}

namespace {

constexpr int kFontCell = 16;     // pixels at the plain set
constexpr int kFontFrames = 128;  // frame n shows character n + 32

// "name.png", "name-hd.png" or "name-hd2.png" by resolution set.
String PictureFile(const String& name, int res) {
    if (res == 2) return name + String("-hd.png");
    if (res == 4) return name + String("-hd2.png");
    return name + String(".png");
}

// The slot's picture gives back its pixels and texture now instead of whenever the
// collector gets to it, unless another slot still draws from its surface.
void GiveUpPicture(c_MyApp& g, int slot) {
    c_Image* old = g.m_Img[slot];
    if (!old) return;
    for (int other = 0; other < g.m_Img.Length(); ++other) {
        const c_Image* image = g.m_Img[other];
        if (other != slot && image && image->m_surface == old->m_surface) return;
    }
    old->p_Discard();
}

// Empties the slot before reading its new picture (so a failed read leaves it empty),
// and records the slot's cell width, cell height and frames.
template <class Load>
void FillSlot(c_MyApp& g, int slot, Load load, int cellW, int cellH, int frames) {
    GiveUpPicture(g, slot);
    g.m_Img[slot] = nullptr;
    gc_assign(g.m_Img[slot], load());
    CellWidth(g, slot) = cellW;
    CellHeight(g, slot) = cellH;
    FrameCount(g, slot) = frames;
}

}  // namespace

int c_MyApp::p_LoadImg(int slot, String name, int cellW, int cellH, int frames, int flags) {
    const int r = m_ImgRes;
    FillSlot(
        *this, slot,
        [&] {
            return qv_graphics_LoadImage2(PictureFile(name, r), cellW * r, cellH * r, frames,
                                          flags);
        },
        cellW * r, cellH * r, frames);
    return 0;
}

// The font's entry holds its advance and line height in virtual units, not its cells.
int c_MyApp::p_LoadFont(int slot, String name, int advance, int height) {
    const int r = m_ImgRes;
    const int cell = kFontCell * r;
    FillSlot(
        *this, slot,
        [&] {
            return qv_graphics_LoadImage2(PictureFile(name, r), cell, cell, kFontFrames,
                                          c_Image::CentreHandle);
        },
        advance, height, kFontFrames);
    m_Font = slot;
    return 0;
}

int c_MyApp::p_ReserveImg(int slot, int w, int h) {
    FillSlot(
        *this, slot, [&] { return qv_graphics_CreateImage(w, h, 1, c_Image::CentreHandle); }, w, h,
        1);
    return 0;
}

int c_MyApp::p_LoadSFX(int n) {
    if (n < 0 || n >= m_Sfx.Length()) return 0;
    m_Sfx[n] = nullptr;
    String number(n);
    if (n < 10) {
        number = String("00") + number;
    } else if (n < 100) {
        number = String("0") + number;
    }
    gc_assign(m_Sfx[n], qv_audio_LoadSound(String("sfx/") + number + String(".wav")));
    return 0;
}
