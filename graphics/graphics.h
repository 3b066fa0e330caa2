// The graphics module: the drawing interface of the application. State setters record
// into the context and pass on to the render device; drawing functions bring the device's
// matrix up to date first. Setters and drawing work only between BeginRender and
// EndRender; outside a frame they do nothing.
#pragma once

#include "graphics/graphics_context.h"
#include "graphics/graphics_device.h"
#include "graphics/image.h"
#include "graphics/surface.h"
#include "runtime/runtime.h"

extern gxtkGraphics* qv_graphics_device;        // set once; used to load and create images
extern gxtkGraphics* qv_graphics_renderDevice;  // the device during a frame, else null
extern c_GraphicsContext* qv_graphics_context;
extern const float qv_graphics_D2R;  // degrees to radians, single precision

// State.
int qv_graphics_SetColor(float r, float g, float b);
int qv_graphics_SetAlpha(float alpha);
int qv_graphics_SetBlend(int blend);
int qv_graphics_SetScissor(float x, float y, float w, float h);

// Matrix.
int qv_graphics_SetMatrix(float ma, float mb, float mc, float md, float mtx, float mty);
int qv_graphics_SetMatrix2(Array<float> m);
int qv_graphics_Transform(float a, float b, float c, float d, float tx, float ty);
int qv_graphics_Transform2(Array<float> m);
int qv_graphics_Translate(float x, float y);
int qv_graphics_Scale(float x, float y);
int qv_graphics_Rotate(float degrees);
int qv_graphics_PushMatrix();
int qv_graphics_PopMatrix();

// Drawing. An image frame index outside the image draws nothing.
int qv_graphics_DrawRect(float x, float y, float w, float h);
int qv_graphics_DrawLine(float x1, float y1, float x2, float y2);
int qv_graphics_DrawEllipse(float x, float y, float xr, float yr);
int qv_graphics_DrawImage(c_Image* image, float x, float y, int frame);
int qv_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame);

// Frames and images.
int qv_graphics_SetGraphicsDevice(gxtkGraphics* device);
int qv_graphics_BeginRender();
int qv_graphics_EndRender();
c_Image* qv_graphics_LoadImage(String path, int frameCount, int flags);
c_Image* qv_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags);
c_Image* qv_graphics_CreateImage(int width, int height, int frameCount, int flags);
int qv_graphics_SetFont(c_Image* font, int firstChar);
