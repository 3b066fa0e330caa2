#include "framework/game_delegate.h"

#include "audio/audio_device.h"
#include "audio/audio_module.h"
#include "framework/app.h"
#include "framework/input.h"
#include "graphics/graphics.h"
#include "graphics/graphics_device.h"

namespace {

// OpenAL reports a device still open at exit as an error; a quit is no error.
void CloseAudioOnQuit() {
    if (qv_app__delegate && qv_app__delegate->m__audio) qv_app__delegate->m__audio->Close();
}

}  // namespace

void c_GameDelegate::StartGame() {
    gc_assign(m__graphics, new gxtkGraphics);
    qv_graphics_SetGraphicsDevice(m__graphics);
    qv_graphics_SetFont(nullptr, 32);
    gc_assign(m__audio, new gxtkAudio);
    qv_audio_SetAudioDevice(m__audio);
    qvSetQuitHook(CloseAudioOnQuit);
    gc_assign(m__input, (new c_InputDevice)->m_new());
    qv_input_SetInputDevice(m__input);
    qv_app_ValidateDeviceWindow(false);
    qv_app_EnumDisplayModes();
    qv_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
    qv_app__app->p_OnSuspend();
    m__audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
    m__audio->Resume();
    qv_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
    qv_app_ValidateDeviceWindow(true);
    m__audio->Update();  // keeps a streamed tune fed
    m__input->p_BeginUpdate();
    qv_app__app->p_OnUpdate();
    m__input->p_EndUpdate();
}

// Mode 0 (no drawing possible) still lets the application run its render step;
// mode 2 is the device's loading state.
void c_GameDelegate::RenderGame() {
    qv_app_ValidateDeviceWindow(true);
    int mode = m__graphics->BeginRender();
    if (mode == 0) {
        qv_app__app->p_OnRender();
    } else {
        qv_graphics_BeginRender();
        if (mode == 2) {
            qv_app__app->p_OnLoading();
        } else {
            qv_app__app->p_OnRender();
        }
        qv_graphics_EndRender();
    }
    m__graphics->EndRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    m__input->p_KeyEvent(event, data);
    if (event != kEventKeyDown) return;
    if (data == kKeyClose) qv_app__app->p_OnClose();
    if (data == kKeyBack) qv_app__app->p_OnBack();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) {
    m__input->p_MouseEvent(event, data, x, y);
}

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) {
    m__input->p_TouchEvent(event, data, x, y);
}

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    m__input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() { m__graphics->DiscardGraphics(); }

void c_GameDelegate::mark() {
    gc_mark_q(m__graphics);
    gc_mark_q(m__audio);
    gc_mark_q(m__input);
}
