// The start values of the framework's module globals (the application and its
// delegate, the device size and display modes, the graphics, audio and input devices and
// the graphics context) and their registration as collector roots. Each program's
// qvInit calls it once before its own globals.
#pragma once

void qv_app_InitModuleGlobals();
