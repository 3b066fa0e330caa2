#include "framework/app.h"

#include <cerrno>
#include <cstring>

#include "framework/game_delegate.h"
#include "framework/map.h"
#include "framework/stack.h"
#include "host/display_mode.h"
#include "host/game.h"

c_App* qv_app__app = nullptr;
c_GameDelegate* qv_app__delegate = nullptr;
QvGame* qv_app__game = nullptr;
int qv_app__devWidth = 0;
int qv_app__devHeight = 0;
Array<c_DisplayMode*> qv_app__displayModes;
c_DisplayMode* qv_app__desktopMode = nullptr;
int qv_app__updateRate = 0;

c_App* c_App::m_new() {
    if (qv_app__app) qvError("App has already been created");
    gc_assign(qv_app__app, this);
    gc_assign(qv_app__delegate, (new c_GameDelegate)->m_new());
    qv_app__game->SetDelegate(qv_app__delegate);
    return this;
}

int c_App::p_OnClose() { qv_app_EndApp(); }
int c_App::p_OnBack() { qv_app_EndApp(); }

int qv_app_SetUpdateRate(int hertz) {
    qv_app__updateRate = hertz;
    qv_app__game->SetUpdateRate(hertz);
    return 0;
}

int qv_app_Millisecs() { return qv_app__game->Millisecs(); }
String qv_app_LoadState() { return qv_app__game->LoadState(); }

namespace {

// A failed save says why, once for each save; the host has kept the previous file whole.
// A save the host refused it has explained already.
void SayWhyNotSaved(int result) {
    if (result == 0 || result == kStateRefused) return;
    const int error = errno;
    qvPrint(String("Settings not saved: ") +
            String(error != 0 ? std::strerror(error) : "the state file could not be written"));
}

}  // namespace

int qv_app_SaveState(String state) {
    SayWhyNotSaved(qv_app__game->SaveState(state));
    return 0;
}

int qv_app_UpdateState(QvStateUpdate& update) {
    SayWhyNotSaved(qv_app__game->UpdateState(update));
    return 0;
}

int qv_app_DeviceWidth() { return qv_app__devWidth; }
int qv_app_DeviceHeight() { return qv_app__devHeight; }

int qv_app_ValidateDeviceWindow(bool notify) {
    int width = qv_app__game->GetDeviceWidth();
    int height = qv_app__game->GetDeviceHeight();
    if (width != qv_app__devWidth || height != qv_app__devHeight) {
        qv_app__devWidth = width;
        qv_app__devHeight = height;
        if (notify) qv_app__app->p_OnResize();
    }
    return 0;
}

int qv_app_EnumDisplayModes() {
    Array<QvDisplayMode*> modes = qv_app__game->GetDisplayModes();
    auto* seen = (new c_IntMap<c_DisplayMode*>)->m_new();
    auto* distinct = (new c_Stack<c_DisplayMode*>)->m_new();
    for (int i = 0; i < modes.Length(); ++i) {
        int width = modes[i]->width;
        int height = modes[i]->height;
        int key = width << 16 | height;
        if (seen->p_Contains(key)) continue;
        auto* mode = (new c_DisplayMode)->m_new(width, height);
        seen->p_Set(key, mode);
        distinct->p_Push(mode);
    }
    gc_assign(qv_app__displayModes, distinct->p_ToArray());
    QvDisplayMode* desktop = qv_app__game->GetDesktopMode();
    c_DisplayMode* mode = desktop ? (new c_DisplayMode)->m_new(desktop->width, desktop->height)
                                  : (new c_DisplayMode)->m_new(qv_app__devWidth, qv_app__devHeight);
    gc_assign(qv_app__desktopMode, mode);
    return 0;
}

void qv_app_EndApp() { qvError(""); }
