// The OpenGL 1.x fixed-function API the render device and surfaces draw with.
#pragma once

#define GL_GLEXT_PROTOTYPES  // glMultiDrawArrays (OpenGL 1.4)
#include <GL/gl.h>
