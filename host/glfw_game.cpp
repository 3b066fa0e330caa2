#include "host/glfw_game.h"

#include "host/glfw_frame_driver.h"
#include "host/glfw_joystick.h"

QvGlfwGame* QvGlfwGame::_glfwGame = nullptr;

QvGlfwGame::QvGlfwGame()
    : _updatePeriod(0.0),
      _nextUpdate(0.0),
      _swapInterval(1),
      _glfwDriver(new QvGlfwFrameDriver(*this)),
      _driver(_glfwDriver.get()),
      _glfwJoysticks(new QvGlfwJoysticks),
      _joysticks(_glfwJoysticks.get()) {
    _glfwGame = this;
}

QvGlfwGame::~QvGlfwGame() {
    if (_glfwGame == this) _glfwGame = nullptr;
}

void QvGlfwGame::SetUpdateRate(int hertz) {
    _updateRate = hertz;
    if (hertz != 0) _updatePeriod = 1.0 / hertz;
    _nextUpdate = 0.0;
}

int QvGlfwGame::Millisecs() { return int(_driver->Now() * 1000.0); }

void QvGlfwGame::SetFrameDriver(QvFrameDriver* driver) {
    _driver = driver ? driver : _glfwDriver.get();
}
