// The framework's receiver of the host's calls: owns the graphics, audio and input
// devices and turns lifecycle calls into the application's hooks.
#pragma once

#include "host/game.h"

class gxtkGraphics;
class gxtkAudio;
class c_InputDevice;

class c_GameDelegate : public QvGameDelegate {
public:
    gxtkGraphics* m__graphics = nullptr;
    gxtkAudio* m__audio = nullptr;
    c_InputDevice* m__input = nullptr;

    c_GameDelegate* m_new() { return this; }
    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;
    void mark() override;
};
