// The order in which the render replays the draw list. The render device draws a run of
// pictures from one surface, or of one kind of shape, with one OpenGL call, and every
// change between them costs a call of its own. Commands are therefore gathered into such
// runs, a command moving ahead of others only when it overlaps none of them on screen, so
// every pixel sees the same commands in the same order as in the list. Commands that
// draw nothing (an empty slot, no alpha, wholly outside the window) are left out.
#pragma once

class c_MyApp;

// Where the virtual screen lands in the window: a virtual point (x, y) is drawn at
// (o + sx * x, oy + sy * y) of a window w x h pixels.
struct ScreenMapping {
    float o, oy, sx, sy, w, h;
};

// Start offsets into the draw list of the commands to replay, in the order to replay
// them; valid until the next call.
struct ReplayOrder {
    const int* starts;
    int count;
};

ReplayOrder OrderDrawList(const c_MyApp& g, const ScreenMapping& map);
