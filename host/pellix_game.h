// The final host class: the process's start-up sequence.
#pragma once

#include "host/glfw_game.h"

class QvPellixGame : public QvGlfwGame {
public:
    // Initialises the window system, the host and the program, then runs it.
    static int Main(int argc, const char** argv);
};
