// c_Image and c_Frame: frame layouts over a surface, borders and handles.
#include "graphics/image.h"

#include "runtime/errors.h"

int c_Image::m_DefaultFlags = 0;

c_Frame* c_Frame::m_new(int x, int y) {
    m_x = x;
    m_y = y;
    return this;
}

c_Frame* c_Frame::m_new2() { return this; }

c_Image* c_Image::m_new() { return this; }

c_Image* c_Image::p_Init(gxtkSurface* surface, int frameCount, int flags) {
    if (m_surface) qvError("Image already initialized");
    gc_assign(m_surface, surface);
    // No frames (and nothing drawable) when asked for none.
    int count = frameCount > 0 ? frameCount : 0;
    m_width = count > 0 ? surface->Width() / count : 0;
    m_height = surface->Height();
    gc_assign(m_frames, Array<c_Frame*>(count));
    for (int i = 0; i < count; ++i) gc_assign(m_frames[i], (new c_Frame)->m_new(i * m_width, 0));
    p_ApplyFlags(flags);
    return this;
}

c_Image* c_Image::p_Init2(gxtkSurface* surface, int x, int y, int width, int height, int frameCount,
                          int flags, c_Image* source, int srcx, int srcy, int srcw, int srch) {
    if (m_surface) qvError("Image already initialized");
    gc_assign(m_surface, surface);
    gc_assign(m_source, source);
    m_width = width;
    m_height = height;
    int count = frameCount > 0 ? frameCount : 0;
    gc_assign(m_frames, Array<c_Frame*>(count));
    int cx = x;
    int cy = y;
    for (int i = 0; i < count; ++i) {
        if (cx + m_width > srcw) {
            cy += m_height;
            if (m_width > srcw) qvError("Image frame outside surface");
            cx = 0;
        }
        if (cy + m_height > srch) qvError("Image frame outside surface");
        gc_assign(m_frames[i], (new c_Frame)->m_new(srcx + cx, srcy + cy));
        cx += m_width;
    }
    p_ApplyFlags(flags);
    return this;
}

int c_Image::p_ApplyFlags(int flags) {
    m_flags = flags;
    if (m_flags & BorderX) {
        for (int i = 0; i < m_frames.Length(); ++i) m_frames[i]->m_x += 1;
        m_width -= 2;
    }
    if (m_flags & BorderY) {
        for (int i = 0; i < m_frames.Length(); ++i) m_frames[i]->m_y += 1;
        m_height -= 2;
    }
    if (m_flags & CentreHandle) {
        m_flags &= ~CentreHandle;
        m_handleX = m_width * 0.5f;
        m_handleY = m_height * 0.5f;
    }
    if (m_surface && m_frames.Length() == 1 && m_frames[0]->m_x == 0 && m_frames[0]->m_y == 0 &&
        m_width == m_surface->Width() && m_height == m_surface->Height()) {
        m_flags |= WholeSurface;
    }
    return 0;
}

int c_Image::p_SetHandle(float x, float y) {
    m_handleX = x;
    m_handleY = y;
    m_flags &= ~CentreHandle;
    return 0;
}

int c_Image::p_Frames() { return m_frames.Length(); }

int c_Image::p_Discard() {
    if (m_surface && !m_source) m_surface->Discard();
    return 0;
}

void c_Image::mark() {
    gc_mark_q(m_surface);
    gc_mark_q(m_frames);
    gc_mark_q(m_source);
}
