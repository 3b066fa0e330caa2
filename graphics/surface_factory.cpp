// The render device's surface makers: pictures loaded through the host, and blank ones.
#include "graphics/graphics_device.h"
#include "host/game.h"

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
    if (!surface || !QvGame::_game) return false;
    int w = 0, h = 0, depth = 0;
    unsigned char* pixels = QvGame::_game->LoadImageData(path, &w, &h, &depth);
    if (!pixels) return false;
    surface->SetData(pixels, w, h, depth);
    return true;
}

gxtkSurface* gxtkGraphics::LoadSurface(String path) {
    gxtkSurface* surface = new gxtkSurface;
    if (!LoadSurface__UNSAFE__(surface, path)) return nullptr;
    surface->Bind();
    return surface;
}

gxtkSurface* gxtkGraphics::CreateSurface(int w, int h) {
    gxtkSurface* surface = new gxtkSurface;
    surface->SetData(nullptr, w, h, 4);
    surface->Bind();
    return surface;
}
