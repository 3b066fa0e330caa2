// The application base class and the app module: update rate, clock, saved state,
// device size, display modes and ending the program.
#pragma once

#include "framework/display_mode.h"
#include "host/state_file.h"
#include "runtime/runtime.h"

class QvGame;
class c_GameDelegate;

class c_App : public Object {
public:
    // Registers this application and its delegate with the host; only once per process.
    c_App* m_new();
    virtual int p_OnCreate() { return 0; }
    virtual int p_OnSuspend() { return 0; }
    virtual int p_OnResume() { return 0; }
    virtual int p_OnUpdate() { return 0; }
    virtual int p_OnRender() { return 0; }
    int p_OnLoading() { return 0; }
    int p_OnResize() { return 0; }
    virtual int p_OnClose();  // the close key (432): ends the program
    int p_OnBack();
};

extern c_App* qv_app__app;
extern c_GameDelegate* qv_app__delegate;
extern QvGame* qv_app__game;
extern int qv_app__devWidth;
extern int qv_app__devHeight;
extern Array<c_DisplayMode*> qv_app__displayModes;
extern c_DisplayMode* qv_app__desktopMode;
extern int qv_app__updateRate;

int qv_app_SetUpdateRate(int hertz);
int qv_app_Millisecs();
String qv_app_LoadState();
int qv_app_SaveState(String state);
// Saves what `update` makes of the state stored at that moment (the host's UpdateState).
int qv_app_UpdateState(QvStateUpdate& update);
int qv_app_DeviceWidth();
int qv_app_DeviceHeight();
int qv_app_ValidateDeviceWindow(bool notify);
// Lists the host's display modes once per size, in the host's order, and the desktop mode.
int qv_app_EnumDisplayModes();
[[noreturn]] void qv_app_EndApp();
