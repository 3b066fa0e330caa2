// The game object and its modules without a window, as tests and benchmarks set it up:
// the game's allocator policy, every module global at its start value (a render device
// installed earlier is gone), the given host, a 640 x 480 device, a fresh input device
// and, when one is given, an audio device. The game object is the framework's
// application (a collector root); nothing is created or loaded yet.
#pragma once

class QvGame;
class c_InputDevice;
class c_MyApp;
class gxtkAudio;

struct HeadlessGame {
    c_MyApp* app = nullptr;
    c_InputDevice* input = nullptr;
};

HeadlessGame StartHeadlessGame(QvGame* host, gxtkAudio* audio = nullptr);

// The font's metrics as the loader records them, without reading the font: text lays
// out as in the game (its glyphs draw nothing until a picture fills the slot).
void SetFontMetrics(c_MyApp* app);

// Effects and music on, and the sound channels as p_OnCreate maps them.
void SetSoundsAsCreated(c_MyApp* app);
