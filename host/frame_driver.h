// What the frame loop needs from the window system: the clock, sleeping, the buffer
// swap and event processing. The loop talks only to this, so its scheduling runs
// under a simulated clock in tests.
#pragma once

class QvFrameDriver {
public:
    virtual ~QvFrameDriver() = default;
    virtual double Now() = 0;  // seconds since the window system started
    virtual void Sleep(double seconds) = 0;
    // False for a driver whose passes the display paces (a browser's animation frames):
    // it cannot sleep, so an update not yet due waits for a later pass instead.
    virtual bool Sleeps() { return true; }
    virtual bool WindowOpen() = 0;
    virtual void SwapBuffers() = 0;
    // Processes pending window events; with `wait`, blocks until at least one arrives.
    virtual void ProcessEvents(bool wait) = 0;
    // The window has the input focus and is not iconified.
    virtual bool WindowActive() = 0;
};
