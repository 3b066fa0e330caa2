// Drives the asynchronous event pump from the test's (main) thread.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "net/async_event.h"

// Pumps every millisecond until `done` holds or the time runs out; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, double seconds = 10.0) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        qv_asyncevent_UpdateAsyncEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Keeps pumping for a while, so that a callback made twice would show.
inline void PumpFor(double seconds) {
    PumpUntil([] { return false; }, seconds);
}
