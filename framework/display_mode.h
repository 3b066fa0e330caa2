// A display mode as the application sees it: a size.
#pragma once

#include "runtime/runtime.h"

class c_DisplayMode : public Object {
public:
    int m_width = 0;
    int m_height = 0;

    c_DisplayMode* m_new(int width, int height) {
        m_width = width;
        m_height = height;
        return this;
    }
    c_DisplayMode* m_new2() { return this; }
};
