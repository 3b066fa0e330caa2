// The frame loop's side in a browser: the page calls one frame pass per animation frame,
// so nothing may block. The browser presents the canvas and delivers events between
// passes by itself; the page's focus and visibility decide whether the game runs.
#pragma once

#include "host/frame_driver.h"

class QvWebFrameDriver : public QvFrameDriver {
public:
    double Now() override;
    void Sleep(double) override {}
    bool Sleeps() override { return false; }
    bool WindowOpen() override { return true; }
    void SwapBuffers() override {}
    void ProcessEvents(bool) override {}
    bool WindowActive() override { return _focused && _visible; }

    // The page as the browser last reported it.
    void SetFocused(bool focused) { _focused = focused; }
    void SetVisible(bool visible) { _visible = visible; }

private:
    bool _focused = true;
    bool _visible = true;
};
