// The program's few arguments, answered before the window system starts.
#pragma once

#include <optional>

// Reads the arguments of `main`. "--help" (or "-h") prints the help and "--version" the
// version to standard output; any other argument prints a one-line error naming it (its
// control characters escaped) and the usage line to standard error. Returns the exit code
// when the program should end at once (0, or 2 for a wrong argument), or nothing when
// there are no arguments and the game runs.
std::optional<int> QvHandleCommandLine(int argc, const char* const* argv, const char* version);
