// How much of the window's pixels the canvas's backing store holds in a browser: the page
// stretches the store over the window, so a smaller store costs the browser's renderer
// less for the same picture. The pace of the frames decides. The store starts at the floor
// the window gives (the first frames cost the least on any machine); frames at the
// display's pace grow it, up to the window's own pixels, and slower ones shrink it again,
// down to the floor; growing stops short of a scale that was too slow lately, so the store
// settles rather than swinging.
#pragma once

class QvDrawingScale {
public:
    // The least share of the window's width and height the store may have (at most 1); the
    // first floor is the starting scale too.
    void SetFloor(double floor);
    // A frame came `seconds` after the one before it; true when the scale changed.
    bool OnFrame(double seconds);
    double Scale() const { return _scale; }

private:
    void Shrink(double typical);
    void Grow();
    bool Change(double scale);

    double _scale = 1.0;
    double _floor = 1.0;
    // The last scale found too slow, and the time since: growing stops short of it for a
    // while, and is let free again later, since what a busy moment made slow may not be.
    double _slowScale = 1.0;
    double _sinceSlow = 1e300;  // none yet
    // The frames of the present look at the pace, and the time they took.
    static constexpr int kMaxLook = 64;
    double _look[kMaxLook] = {};
    int _frames = 0;
    double _lookSeconds = 0.0;
    int _settling = 0;  // frames left to pass unmeasured after a change
    bool _started = false;
};

// The pixels one unit of the game's virtual screen covers in a width x height buffer, as
// the game maps it (c_MyApp::p_MapVirtualScreen): 640 x 480 units fitted by their nearer
// side, half as many again in a portrait buffer.
double QvPixelsPerUnit(int width, int height);
