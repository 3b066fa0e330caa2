#include "framework/input.h"

c_InputDevice* qv_input_device = nullptr;

int qv_input_SetInputDevice(c_InputDevice* device) {
    gc_assign(qv_input_device, device);
    return 0;
}

bool qv_input_KeyDown(int key) { return qv_input_device->p_KeyDown(key); }
int qv_input_KeyHit(int key) { return qv_input_device->p_KeyHit(key); }
int qv_input_GetChar() { return qv_input_device->p_GetChar(); }
float qv_input_MouseX() { return qv_input_device->p_MouseX(); }
float qv_input_MouseY() { return qv_input_device->p_MouseY(); }
bool qv_input_MouseDown(int button) { return qv_input_device->p_KeyDown(kKeyMouseLeft + button); }
int qv_input_MouseHit(int button) { return qv_input_device->p_KeyHit(kKeyMouseLeft + button); }
bool qv_input_TouchDown(int finger) { return qv_input_device->p_KeyDown(kKeyTouchBase + finger); }
float qv_input_TouchX(int finger) { return qv_input_device->p_TouchX(finger); }
float qv_input_TouchY(int finger) { return qv_input_device->p_TouchY(finger); }

bool qv_input_JoyDown(int button, int port) {
    return qv_input_device->p_KeyDown(key_space::JoystickKey(port, button));
}

int qv_input_JoyHit(int button, int port) {
    return qv_input_device->p_KeyHit(key_space::JoystickKey(port, button));
}

float qv_input_JoyX(int index, int port) {
    return qv_input_device->p_GetJoyState(port)->m__joyx[index];
}

float qv_input_JoyY(int index, int port) {
    return qv_input_device->p_GetJoyState(port)->m__joyy[index];
}

float qv_input_JoyZ(int index, int port) {
    return qv_input_device->p_GetJoyState(port)->m__joyz[index];
}

float qv_input_AccelX() { return qv_input_device->p_AccelX(); }
float qv_input_AccelY() { return qv_input_device->p_AccelY(); }

int qv_input_EnableKeyboard() {
    qv_input_device->p_SetKeyboardEnabled(true);
    return 0;
}

int qv_input_DisableKeyboard() {
    qv_input_device->p_SetKeyboardEnabled(false);
    return 0;
}
