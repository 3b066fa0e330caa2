// The input module: the application's view of the installed input device.
#pragma once

#include "framework/input_device.h"

extern c_InputDevice* qv_input_device;

int qv_input_SetInputDevice(c_InputDevice* device);
bool qv_input_KeyDown(int key);
int qv_input_KeyHit(int key);
int qv_input_GetChar();
float qv_input_MouseX();
float qv_input_MouseY();
bool qv_input_MouseDown(int button);
int qv_input_MouseHit(int button);
bool qv_input_TouchDown(int finger);
float qv_input_TouchX(int finger);
float qv_input_TouchY(int finger);
bool qv_input_JoyDown(int button, int port);
int qv_input_JoyHit(int button, int port);
float qv_input_JoyX(int index, int port);
float qv_input_JoyY(int index, int port);
float qv_input_JoyZ(int index, int port);
float qv_input_AccelX();
float qv_input_AccelY();
int qv_input_EnableKeyboard();
int qv_input_DisableKeyboard();
