// Video modes as the host reports them to the application.
#pragma once

#include "runtime/runtime.h"

class QvDisplayMode : public Object {
public:
    int width = 0;
    int height = 0;
    // Unused on this host; always 0.
    int format = 0;
    int hertz = 0;
    int flags = 0;
};

class QvGlfwVideoMode : public Object {
public:
    int width = 0;
    int height = 0;
    int redBits = 0;
    int greenBits = 0;
    int blueBits = 0;
};
