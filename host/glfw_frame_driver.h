// The frame loop's window-system side on GLFW.
#pragma once

#include "host/frame_driver.h"

class QvGlfwGame;

class QvGlfwFrameDriver : public QvFrameDriver {
public:
    explicit QvGlfwFrameDriver(QvGlfwGame& host) : _host(host) {}
    double Now() override;
    void Sleep(double seconds) override;
    bool WindowOpen() override;
    void SwapBuffers() override;
    void ProcessEvents(bool wait) override;
    bool WindowActive() override;

private:
    QvGlfwGame& _host;
};
