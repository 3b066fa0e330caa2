// The render device's surface makers: pictures loaded through the host, and blank ones.
#include "graphics/graphics_device.h"

#include <cstdlib>

#include "host/game.h"
#include "host/unreadable_asset.h"

// The surface keeps the file's bytes, which are far smaller than its pixels, to make its
// texture again in a later OpenGL context.
bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
    if (!surface || !QvGame::_game) return false;
    int length = 0;
    unsigned char* bytes = QvGame::_game->LoadData(path, &length);
    if (!bytes) return false;
    int w = 0, h = 0, depth = 0;
    unsigned char* pixels = QvGame::_game->DecodeImageData(bytes, length, &w, &h, &depth);
    if (!pixels) {
        QvReportUnreadable(QvAsset::kPicture, path);
        std::free(bytes);
        return false;
    }
    surface->SetData(pixels, w, h, depth);
    surface->KeepFile(bytes, length);
    return true;
}

gxtkSurface* gxtkGraphics::LoadSurface(String path) {
    gxtkSurface* surface = new gxtkSurface;
    if (!LoadSurface__UNSAFE__(surface, path)) return nullptr;
    surface->Bind();
    return surface;
}

// Its texture is made when it is first drawn: a surface kept in reserve costs nothing.
gxtkSurface* gxtkGraphics::CreateSurface(int w, int h) {
    gxtkSurface* surface = new gxtkSurface;
    surface->SetData(nullptr, w, h, 4);
    return surface;
}
