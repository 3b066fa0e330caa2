// The graphics module's globals, frame set-up, state setters and drawing functions.
#include <cmath>

#include "graphics/graphics.h"

gxtkGraphics* qv_graphics_device = nullptr;
gxtkGraphics* qv_graphics_renderDevice = nullptr;
c_GraphicsContext* qv_graphics_context = nullptr;
const float qv_graphics_D2R = 0.017453292f;

namespace {

c_GraphicsContext& Context() { return *qv_graphics_context; }

// The frame of `image` at `index`, or null when there is none to draw.
c_Frame* FrameAt(c_Image* image, int index) {
    if (!image || !image->m_surface || index < 0 || index >= image->m_frames.Length()) {
        return nullptr;
    }
    return image->m_frames[index];
}

void DrawFrame(c_Image* image, c_Frame* frame, float x, float y) {
    if (image->m_flags & c_Image::WholeSurface) {
        qv_graphics_renderDevice->DrawSurface(image->m_surface, x, y);
    } else {
        qv_graphics_renderDevice->DrawSurface2(image->m_surface, x, y, frame->m_x, frame->m_y,
                                               image->m_width, image->m_height);
    }
}

}  // namespace

int qv_graphics_SetGraphicsDevice(gxtkGraphics* device) {
    gc_assign(qv_graphics_device, device);
    return 0;
}

int qv_graphics_BeginRender() {
    gc_assign(qv_graphics_renderDevice, qv_graphics_device);
    if (!qv_graphics_renderDevice) return 0;
    c_GraphicsContext& ctx = Context();
    ctx.m_matrixSp = 0;
    ctx.p_SetMatrix(1, 0, 0, 1, 0, 0);
    qv_graphics_SetColor(255, 255, 255);
    qv_graphics_SetAlpha(1);
    qv_graphics_SetBlend(0);
    // The device has just read the window size, so this turns scissoring off.
    float w = static_cast<float>(qv_graphics_renderDevice->Width());
    float h = static_cast<float>(qv_graphics_renderDevice->Height());
    ctx.m_scissorX = 0;
    ctx.m_scissorY = 0;
    ctx.m_scissorW = w;
    ctx.m_scissorH = h;
    qv_graphics_renderDevice->SetScissor(0, 0, static_cast<int>(w), static_cast<int>(h));
    return 0;
}

int qv_graphics_EndRender() {
    qv_graphics_renderDevice = nullptr;
    return 0;
}

int qv_graphics_SetColor(float r, float g, float b) {
    if (!qv_graphics_renderDevice) return 0;
    Context().m_red = r;
    Context().m_green = g;
    Context().m_blue = b;
    qv_graphics_renderDevice->SetColor(r, g, b);
    return 0;
}

int qv_graphics_SetAlpha(float alpha) {
    if (!qv_graphics_renderDevice) return 0;
    Context().m_alpha = alpha;
    qv_graphics_renderDevice->SetAlpha(alpha);
    return 0;
}

int qv_graphics_SetBlend(int blend) {
    if (!qv_graphics_renderDevice) return 0;
    Context().m_blend = blend;
    qv_graphics_renderDevice->SetBlend(blend);
    return 0;
}

int qv_graphics_SetScissor(float x, float y, float w, float h) {
    if (!qv_graphics_renderDevice) return 0;
    qv_graphics_renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y),
                                         static_cast<int>(w), static_cast<int>(h));
    return 0;
}

int qv_graphics_SetMatrix(float ma, float mb, float mc, float md, float mtx, float mty) {
    Context().p_SetMatrix(ma, mb, mc, md, mtx, mty);
    return 0;
}

int qv_graphics_SetMatrix2(Array<float> m) {
    if (m.Length() < 6) return 0;
    return qv_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int qv_graphics_Transform(float a, float b, float c, float d, float tx, float ty) {
    Context().p_Transform(a, b, c, d, tx, ty);
    return 0;
}

int qv_graphics_Transform2(Array<float> m) {
    if (m.Length() < 6) return 0;
    return qv_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int qv_graphics_Translate(float x, float y) { return qv_graphics_Transform(1, 0, 0, 1, x, y); }

int qv_graphics_Scale(float x, float y) { return qv_graphics_Transform(x, 0, 0, y, 0, 0); }

int qv_graphics_Rotate(float degrees) {
    double theta = degrees * qv_graphics_D2R;
    float c = static_cast<float>(std::cos(theta));
    float s = static_cast<float>(std::sin(theta));
    return qv_graphics_Transform(c, -s, s, c, 0, 0);
}

int qv_graphics_PushMatrix() {
    Context().p_PushMatrix();
    return 0;
}

int qv_graphics_PopMatrix() {
    Context().p_PopMatrix();
    return 0;
}

int qv_graphics_DrawRect(float x, float y, float w, float h) {
    if (!qv_graphics_renderDevice) return 0;
    Context().p_Validate();
    qv_graphics_renderDevice->DrawRect(x, y, w, h);
    return 0;
}

int qv_graphics_DrawLine(float x1, float y1, float x2, float y2) {
    if (!qv_graphics_renderDevice) return 0;
    Context().p_Validate();
    qv_graphics_renderDevice->DrawLine(x1, y1, x2, y2);
    return 0;
}

int qv_graphics_DrawEllipse(float x, float y, float xr, float yr) {
    if (!qv_graphics_renderDevice) return 0;
    Context().p_Validate();
    qv_graphics_renderDevice->DrawOval(x - xr, y - yr, xr * 2, yr * 2);
    return 0;
}

int qv_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
    if (!qv_graphics_renderDevice) return 0;
    Context().p_Validate();
    c_Frame* f = FrameAt(image, frame);
    if (!f) return 0;
    DrawFrame(image, f, x - image->m_handleX, y - image->m_handleY);
    return 0;
}

int qv_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame) {
    if (!qv_graphics_renderDevice) return 0;
    c_Frame* f = FrameAt(image, frame);
    if (!f) return 0;
    c_GraphicsContext& ctx = Context();
    ctx.p_PushMatrix();
    qv_graphics_Transform(1, 0, 0, 1, x, y);
    qv_graphics_Rotate(rotation);
    qv_graphics_Transform(scaleX, 0, 0, scaleY, 0, 0);
    qv_graphics_Transform(1, 0, 0, 1, -image->m_handleX, -image->m_handleY);
    ctx.p_Validate();
    DrawFrame(image, f, 0, 0);
    ctx.p_PopMatrix();
    return 0;
}
