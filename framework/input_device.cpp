#include "framework/input_device.h"

#include "host/game.h"

c_JoyState* c_JoyState::m_new() {
    gc_assign(m__joyx, Array<float>(pad_axis::kSticks));
    gc_assign(m__joyy, Array<float>(pad_axis::kSticks));
    gc_assign(m__joyz, Array<float>(pad_axis::kSticks));
    gc_assign(m__buttons, Array<bool>(key_space::kButtonsPerPort));
    return this;
}

void c_JoyState::mark() {
    gc_mark_q(m__joyx);
    gc_mark_q(m__joyy);
    gc_mark_q(m__joyz);
    gc_mark_q(m__buttons);
}

c_InputDevice* c_InputDevice::m_new() {
    gc_assign(m__joyStates, Array<c_JoyState*>(key_space::kPorts));
    for (int i = 0; i < key_space::kPorts; ++i)
        gc_assign(m__joyStates[i], (new c_JoyState)->m_new());
    gc_assign(m__keyDown, Array<bool>(kKeyCount));
    gc_assign(m__keyHitQueue, Array<int>(kKeyHitQueueSize));
    gc_assign(m__keyHit, Array<int>(kKeyCount));
    gc_assign(m__charQueue, Array<int>(kCharQueueSize));
    gc_assign(m__touchX, Array<float>(key_space::kTouches));
    gc_assign(m__touchY, Array<float>(key_space::kTouches));
    return this;
}

void c_InputDevice::mark() {
    gc_mark_q(m__joyStates);
    gc_mark_q(m__keyDown);
    gc_mark_q(m__keyHitQueue);
    gc_mark_q(m__keyHit);
    gc_mark_q(m__charQueue);
    gc_mark_q(m__touchX);
    gc_mark_q(m__touchY);
}

// A full queue loses the hit; the key still counts as down.
void c_InputDevice::AddHit(int key) {
    if (m__keyHitPut >= kKeyHitQueueSize) return;
    m__keyHit[key] += 1;
    m__keyHitQueue[m__keyHitPut++] = key;
}

// Auto-repeat sends further key-downs for a held key; they add no hit.
void c_InputDevice::KeyDown(int key) {
    if (key <= 0 || key >= kKeyCount || m__keyDown[key]) return;
    m__keyDown[key] = true;
    AddHit(key);
    // The left mouse button and the first touch are one pointer.
    if (key == kKeyMouseLeft) {
        m__keyDown[kKeyTouchBase] = true;
        AddHit(kKeyTouchBase);
    } else if (key == kKeyTouchBase) {
        m__keyDown[kKeyMouseLeft] = true;
        AddHit(kKeyMouseLeft);
    }
}

void c_InputDevice::KeyUp(int key) {
    if (key <= 0 || key >= kKeyCount || !m__keyDown[key]) return;
    m__keyDown[key] = false;
    if (key == kKeyMouseLeft) {
        m__keyDown[kKeyTouchBase] = false;
    } else if (key == kKeyTouchBase) {
        m__keyDown[kKeyMouseLeft] = false;
    }
}

void c_InputDevice::SetMousePos(float x, float y) {
    m__mouseX = x;
    m__mouseY = y;
    m__touchX[0] = x;
    m__touchY[0] = y;
}

void c_InputDevice::SetTouchPos(int finger, float x, float y) {
    if (finger < 0 || finger >= key_space::kTouches) return;
    m__touchX[finger] = x;
    m__touchY[finger] = y;
    if (finger == 0) {
        m__mouseX = x;
        m__mouseY = y;
    }
}

void c_InputDevice::p_KeyEvent(int event, int key) {
    switch (event) {
        case kEventKeyDown: KeyDown(key); break;
        case kEventKeyUp: KeyUp(key); break;
        case kEventKeyChar:
            if (m__charPut < kCharQueueSize) m__charQueue[m__charPut++] = key;
            break;
    }
}

void c_InputDevice::p_MouseEvent(int event, int button, float x, float y) {
    switch (event) {
        case kEventMouseDown:
            KeyDown(kKeyMouseLeft + button);
            SetMousePos(x, y);
            break;
        case kEventMouseUp: KeyUp(kKeyMouseLeft + button); break;
        case kEventMouseMove: SetMousePos(x, y); break;
    }
}

void c_InputDevice::p_TouchEvent(int event, int finger, float x, float y) {
    switch (event) {
        case kEventTouchDown:
            KeyDown(kKeyTouchBase + finger);
            SetTouchPos(finger, x, y);
            break;
        case kEventTouchUp: KeyUp(kKeyTouchBase + finger); break;
        case kEventTouchMove: SetTouchPos(finger, x, y); break;
    }
}

void c_InputDevice::p_MotionEvent(int event, int, float x, float y, float z) {
    if (event != kEventMotionAccel) return;
    m__accelX = x;
    m__accelY = y;
    m__accelZ = z;
}

// A port without a pad holds nothing: a pad pulled out with a button or the stick held
// leaves no key down and no stick pushed.
void c_InputDevice::ReleasePort(int port) {
    c_JoyState* joy = m__joyStates[port];
    for (int i = 0; i < pad_axis::kSticks; ++i) {
        joy->m__joyx[i] = 0;
        joy->m__joyy[i] = 0;
        joy->m__joyz[i] = 0;
    }
    for (int button = 0; button < key_space::kButtonsPerPort; ++button)
        joy->m__buttons[button] = false;
}

// Every port is asked: a pad keeps its port while others come and go, so an empty port
// may sit between two served ones.
void c_InputDevice::p_BeginUpdate() {
    for (int port = 0; port < key_space::kPorts; ++port) {
        c_JoyState* joy = m__joyStates[port];
        if (!QvGame::_game->PollJoystick(port, joy->m__joyx, joy->m__joyy, joy->m__joyz,
                                         joy->m__buttons)) {
            ReleasePort(port);
        }
        for (int button = 0; button < key_space::kButtonsPerPort; ++button) {
            const int key = key_space::JoystickKey(port, button);
            if (!joy->m__buttons[button]) {
                m__keyDown[key] = false;
            } else if (!m__keyDown[key]) {
                m__keyDown[key] = true;
                AddHit(key);
            }
        }
    }
}

void c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < m__keyHitPut; ++i) m__keyHit[m__keyHitQueue[i]] = 0;
    m__keyHitPut = 0;
    m__charGet = 0;
    m__charPut = 0;
}

bool c_InputDevice::p_SetKeyboardEnabled(bool enabled) {
    QvGame::_game->SetKeyboardEnabled(enabled);
    return true;
}

bool c_InputDevice::p_KeyDown(int key) { return key > 0 && key < kKeyCount && m__keyDown[key]; }

int c_InputDevice::p_KeyHit(int key) { return key > 0 && key < kKeyCount ? m__keyHit[key] : 0; }

int c_InputDevice::p_GetChar() {
    if (m__charGet == m__charPut) return 0;
    return m__charQueue[m__charGet++];
}

float c_InputDevice::p_TouchX(int finger) {
    return finger >= 0 && finger < key_space::kTouches ? m__touchX[finger] : 0;
}

float c_InputDevice::p_TouchY(int finger) {
    return finger >= 0 && finger < key_space::kTouches ? m__touchY[finger] : 0;
}
