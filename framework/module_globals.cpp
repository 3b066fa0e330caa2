// Start values and roots of the framework's module globals (see module_globals.h).
#include "framework/module_globals.h"

#include "audio/audio_module.h"
#include "framework/app.h"
#include "framework/game_delegate.h"
#include "framework/input.h"
#include "graphics/graphics.h"
#include "host/game.h"

void qv_app_InitModuleGlobals() {
    qv_app__app = nullptr;
    qv_app__delegate = nullptr;
    qv_graphics_device = nullptr;
    qv_app__game = QvGame::_game;
    gc_assign(qv_graphics_context, (new c_GraphicsContext)->m_new());
    c_Image::m_DefaultFlags = 0;
    qv_audio_device = nullptr;
    qv_input_device = nullptr;
    qv_app__devWidth = 0;
    qv_app__devHeight = 0;
    gc_assign(qv_app__displayModes, Array<c_DisplayMode*>());
    qv_app__desktopMode = nullptr;
    qv_graphics_renderDevice = nullptr;
    qv_app__updateRate = 0;

    gc_root(qv_app__app);
    gc_root(qv_app__delegate);
    gc_root(qv_graphics_device);
    gc_root(qv_graphics_context);
    gc_root(qv_audio_device);
    gc_root(qv_input_device);
    gc_root(qv_app__displayModes);
    gc_root(qv_app__desktopMode);
    gc_root(qv_graphics_renderDevice);
}
