// Module globals of the game (module Vortan) and the game's random generator; their
// start values are given by qv_Vortan_InitGlobals, which qvInit calls.
#pragma once

#include <cstdint>

#include "runtime/runtime.h"

// Virtual screen: the reference size, the size in use (recomputed every render)
// and the margin in device pixels kept free on each side.
extern float qv_Vortan_rawscrw;
extern float qv_Vortan_rawscrh;
extern float qv_Vortan_jscrw;
extern float qv_Vortan_jscrh;
extern float qv_Vortan_overscan;
// The virtual screen's height against the reference height, at most 1: a layout made for
// the reference screen is drawn this much smaller on a shorter screen.
float qv_Vortan_HeightFit();

extern int qv_Vortan_UseHDImages;     // 0 forces the plain image set
extern int qv_Vortan_DebugMode;       // 1 shows the debug line (F1)
extern int qv_Vortan_iCadeControls;   // 1 while iCade letters drive the virtual pad
extern int qv_Vortan_HasMusicStream;  // music can be paused and resumed
extern int qv_Vortan_J_On_Allow;      // 1 allows the check-in request at start
extern int qv_Vortan_GameNum;         // sent with the check-in

// Kept at their start values for the module's other builds; this game never reads them.
extern int qv_Vortan_OnScreenControls;       // 0: touch play shows the touch controls
extern int qv_Vortan_AccelerometerControls;  // 0: no tilt steering
extern int qv_Vortan_isOuya;                 // 0: not the OUYA console
// Set to 1 by a check-in with a reply; nothing reads it.
extern int qv_Vortan_J_On_Able;

extern Array<String> qv_Vortan_MenuSet;     // difficulty names and descriptions (6)
extern Array<String> qv_Vortan_CreditText;  // credits lines (64)

// The generator: seed = seed * 1664525 + 1013904223 (mod 2^32); Rnd = top 24 bits / 2^24.
extern uint32_t qv_random_Seed;
float qv_random_Rnd();
float qv_random_Rnd2(float low, float high);
float qv_random_Rnd3(float range);

// Every global above at its start value, and the arrays registered as collector roots.
void qv_Vortan_InitGlobals();
