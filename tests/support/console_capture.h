// What the program prints on its console (stdout) while a piece of it runs, on the
// desktop and under node alike.
#pragma once

#include <functional>
#include <string>

// Runs `run` with stdout taken into a file; returns what it printed there. The console
// is back as it was afterwards.
std::string CaptureConsole(const std::function<void()>& run);
