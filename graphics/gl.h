// The OpenGL 1.x fixed-function API the render device and surfaces draw with.
#pragma once

#include <GL/gl.h>
