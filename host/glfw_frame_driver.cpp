#include "host/glfw_frame_driver.h"

#include <GLFW/glfw3.h>

#include <chrono>
#include <thread>

#include "host/glfw_game.h"

double QvGlfwFrameDriver::Now() { return glfwGetTime(); }

void QvGlfwFrameDriver::Sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// The close button never closes the window by itself (the application decides), so
// the window is open for as long as it exists.
bool QvGlfwFrameDriver::WindowOpen() {
    GLFWwindow* window = _host.Window();
    return window && !glfwWindowShouldClose(window);
}

void QvGlfwFrameDriver::SwapBuffers() { glfwSwapBuffers(_host.Window()); }

void QvGlfwFrameDriver::ProcessEvents(bool wait) {
    if (wait) {
        glfwWaitEvents();
    } else {
        glfwPollEvents();
    }
}

bool QvGlfwFrameDriver::WindowActive() { return _host.WindowActive(); }
