// The frame loop: one rendered frame per pass, then the updates that are due.
#include "host/glfw_game.h"

namespace {
// Updates a frame may run to catch up before the schedule is dropped.
constexpr int kMaxCatchUp = 4;
// For a driver that cannot sleep: an update due within this part of a period runs now,
// so passes paced at the update rate do not skip one frame and double the next.
constexpr double kEarlyPart = 0.25;
}  // namespace

void QvGlfwGame::Run() {
    LoadGamepadMappings();
    SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    StartGame();
    RunFrames();
}

void QvGlfwGame::RunFrames() {
    while (_driver->WindowOpen()) RunFrame();
}

void QvGlfwGame::RunFrame() {
    RenderGame();
    _driver->SwapBuffers();
    bool due = true;
    if (_nextUpdate != 0.0) {
        double delay = _nextUpdate - _driver->Now();
        if (delay > 0 && _driver->Sleeps()) {
            _driver->Sleep(delay);
        } else if (delay > _updatePeriod * kEarlyPart) {
            due = false;
        }
    }
    UpdateEvents();
    if (_suspended) return;
    if (_updateRate == 0) {
        UpdateGame();
        return;
    }
    if (!due) return;
    if (_nextUpdate == 0.0) _nextUpdate = _driver->Now();
    RunScheduledUpdates();
}

// A schedule reset to 0 by the update itself (a new rate, a suspension) ends the
// catch-up at once; a machine still behind after the limit starts a fresh schedule
// rather than piling up debt.
void QvGlfwGame::RunScheduledUpdates() {
    for (int i = 0; i < kMaxCatchUp; ++i) {
        UpdateGame();
        if (_nextUpdate == 0.0) return;
        _nextUpdate += _updatePeriod;
        if (_nextUpdate > _driver->Now()) return;
    }
    _nextUpdate = 0.0;
}

void QvGlfwGame::UpdateEvents() {
    _driver->ProcessEvents(_suspended);
    if (_driver->WindowActive()) {
        if (_suspended) {
            ResumeGame();
            _nextUpdate = 0.0;
        }
    } else if (!_suspended) {
        SuspendGame();
        _nextUpdate = 0.0;
    }
}
