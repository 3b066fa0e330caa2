// The input state an update reads: keys, hits, typed characters, mouse, touches,
// accelerometer and four joysticks, all keys of one space of 512 codes.
#pragma once

#include "host/key_space.h"
#include "runtime/runtime.h"

constexpr int kKeyCount = key_space::kCount;
constexpr int kKeyHitQueueSize = 33;
constexpr int kCharQueueSize = 32;
constexpr int kKeyMouseLeft = key_space::kMouseBase;
constexpr int kKeyJoystickBase = key_space::kJoystickBase;
constexpr int kKeyTouchBase = key_space::kTouchBase;
constexpr int kKeyBack = key_space::kBack;

class c_JoyState : public Object {
public:
    Array<float> m__joyx;
    Array<float> m__joyy;
    Array<float> m__joyz;
    Array<bool> m__buttons;

    c_JoyState* m_new();
    void mark() override;
};

class c_InputDevice : public Object {
public:
    Array<c_JoyState*> m__joyStates;
    Array<bool> m__keyDown;
    int m__keyHitPut = 0;
    Array<int> m__keyHitQueue;
    Array<int> m__keyHit;
    int m__charGet = 0;
    int m__charPut = 0;
    Array<int> m__charQueue;
    float m__mouseX = 0;
    float m__mouseY = 0;
    Array<float> m__touchX;
    Array<float> m__touchY;
    float m__accelX = 0;
    float m__accelY = 0;
    float m__accelZ = 0;

    c_InputDevice* m_new();

    // Feeding, from the delegate.
    void p_KeyEvent(int event, int key);
    void p_MouseEvent(int event, int button, float x, float y);
    void p_TouchEvent(int event, int finger, float x, float y);
    void p_MotionEvent(int event, int data, float x, float y, float z);
    void p_BeginUpdate();
    void p_EndUpdate();
    bool p_SetKeyboardEnabled(bool enabled);

    // Reading, for the input module.
    bool p_KeyDown(int key);
    int p_KeyHit(int key);
    int p_GetChar();
    float p_MouseX() { return m__mouseX; }
    float p_MouseY() { return m__mouseY; }
    float p_TouchX(int finger);
    float p_TouchY(int finger);
    float p_AccelX() { return m__accelX; }
    float p_AccelY() { return m__accelY; }
    float p_AccelZ() { return m__accelZ; }
    c_JoyState* p_GetJoyState(int port) { return m__joyStates[port]; }

    void mark() override;

private:
    void KeyDown(int key);
    void KeyUp(int key);
    void AddHit(int key);
    void ReleasePort(int port);
    void SetMousePos(float x, float y);
    void SetTouchPos(int finger, float x, float y);
};
