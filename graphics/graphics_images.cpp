// Loading and making images, and the current font.
#include "graphics/graphics.h"
#include "host/data_path.h"

namespace {

gxtkSurface* LoadSurfaceAt(const String& path) {
    if (!qv_graphics_device) return nullptr;
    return qv_graphics_device->LoadSurface(qv_data_FixDataPath(path));
}

}  // namespace

c_Image* qv_graphics_LoadImage(String path, int frameCount, int flags) {
    gxtkSurface* surface = LoadSurfaceAt(path);
    if (!surface) return nullptr;
    return (new c_Image)->m_new()->p_Init(surface, frameCount, flags);
}

c_Image* qv_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags) {
    gxtkSurface* surface = LoadSurfaceAt(path);
    if (!surface) return nullptr;
    return (new c_Image)
        ->m_new()
        ->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount, flags, nullptr, 0, 0,
                  surface->Width(), surface->Height());
}

c_Image* qv_graphics_CreateImage(int width, int height, int frameCount, int flags) {
    if (!qv_graphics_device) return nullptr;
    gxtkSurface* surface = qv_graphics_device->CreateSurface(width * frameCount, height);
    if (!surface) return nullptr;
    return (new c_Image)->m_new()->p_Init(surface, frameCount, flags);
}

int qv_graphics_SetFont(c_Image* font, int firstChar) {
    c_GraphicsContext& ctx = *qv_graphics_context;
    if (!font) {
        if (!ctx.m_defaultFont) {
            // 96 cells for the codes 32 to 127, each with a one-pixel border left and right.
            gc_assign(ctx.m_defaultFont, qv_graphics_LoadImage("tarn_font.png", 96, 2));
        }
        font = ctx.m_defaultFont;
        firstChar = 32;
        if (!font) {
            gc_assign(ctx.m_font, static_cast<c_Image*>(nullptr));
            ctx.m_firstChar = 32;
            return 0;
        }
    }
    gc_assign(ctx.m_font, font);
    ctx.m_firstChar = firstChar;
    return 0;
}
