// c_Image and c_Frame: a texture surface cut into equal frames, drawn about a handle.
#pragma once

#include "graphics/surface.h"
#include "runtime/object.h"

// The top-left pixel of one frame inside its image's surface.
class c_Frame : public Object {
public:
    int m_x = 0;
    int m_y = 0;

    c_Frame* m_new(int x, int y);
    c_Frame* m_new2();
};

class c_Image : public Object {
public:
    // Image flags.
    static constexpr int CentreHandle = 1;
    static constexpr int BorderX = 2;
    static constexpr int BorderY = 4;
    static constexpr int WholeSurface = 65536;  // set by the module: one frame covering the surface

    static int m_DefaultFlags;

    gxtkSurface* m_surface = nullptr;
    int m_width = 0;  // one frame, borders removed
    int m_height = 0;
    Array<c_Frame*> m_frames;
    int m_flags = 0;
    float m_handleX = 0.0f;
    float m_handleY = 0.0f;
    c_Image* m_source = nullptr;  // image this one was cut from, if any

    c_Image* m_new();
    // Frames side by side across the whole surface.
    c_Image* p_Init(gxtkSurface* surface, int frameCount, int flags);
    // Frames of width x height in rows inside the rectangle (srcx, srcy, srcw, srch) of the
    // surface, the first at offset (x, y) in it.
    c_Image* p_Init2(gxtkSurface* surface, int x, int y, int width, int height, int frameCount,
                     int flags, c_Image* source, int srcx, int srcy, int srcw, int srch);
    int p_ApplyFlags(int flags);
    int p_SetHandle(float x, float y);
    // Number of frames; a frame index is usable when 0 <= index < p_Frames().
    int p_Frames();
    // Gives up the picture's texture and memory now rather than when the collector gets to
    // it; for a picture being replaced. The image draws nothing afterwards. An image cut
    // from another leaves their shared surface alone.
    int p_Discard();

    void mark() override;
};
