// c_GraphicsContext: the module's current state and its matrix stack.
#include "graphics/graphics_context.h"

#include "graphics/graphics.h"

namespace {

constexpr int kFloatsPerMatrix = 6;
constexpr int kInitialStackFloats = 32 * kFloatsPerMatrix;

}  // namespace

c_GraphicsContext* c_GraphicsContext::m_new() {
    gc_assign(m_matrixStack, Array<float>(kInitialStackFloats));
    return this;
}

int c_GraphicsContext::p_Validate() {
    if (m_matrixDirty && qv_graphics_renderDevice) {
        qv_graphics_renderDevice->SetMatrix(m_ma, m_mb, m_mc, m_md, m_mtx, m_mty);
        m_matrixDirty = 0;
    }
    return 0;
}

void c_GraphicsContext::p_SetMatrix(float ma, float mb, float mc, float md, float mtx, float mty) {
    m_ma = ma;
    m_mb = mb;
    m_mc = mc;
    m_md = md;
    m_mtx = mtx;
    m_mty = mty;
    m_transformed = (ma != 1 || mb != 0 || mc != 0 || md != 1 || mtx != 0 || mty != 0) ? 1 : 0;
    m_matrixDirty = 1;
}

void c_GraphicsContext::p_Transform(float a, float b, float c, float d, float tx, float ty) {
    p_SetMatrix(a * m_ma + b * m_mc, a * m_mb + b * m_md, c * m_ma + d * m_mc, c * m_mb + d * m_md,
                tx * m_ma + ty * m_mc + m_mtx, tx * m_mb + ty * m_md + m_mty);
}

void c_GraphicsContext::p_PushMatrix() {
    if (m_matrixSp + kFloatsPerMatrix > m_matrixStack.Length()) {
        int grown = m_matrixStack.Length() > 0 ? m_matrixStack.Length() * 2 : kInitialStackFloats;
        gc_assign(m_matrixStack, m_matrixStack.Resize(grown));
    }
    float* slot = &m_matrixStack[m_matrixSp];
    slot[0] = m_ma;
    slot[1] = m_mb;
    slot[2] = m_mc;
    slot[3] = m_md;
    slot[4] = m_mtx;
    slot[5] = m_mty;
    m_matrixSp += kFloatsPerMatrix;
}

void c_GraphicsContext::p_PopMatrix() {
    if (m_matrixSp < kFloatsPerMatrix) return;
    m_matrixSp -= kFloatsPerMatrix;
    const float* slot = &m_matrixStack[m_matrixSp];
    p_SetMatrix(slot[0], slot[1], slot[2], slot[3], slot[4], slot[5]);
}

void c_GraphicsContext::mark() {
    gc_mark_q(m_defaultFont);
    gc_mark_q(m_font);
    gc_mark_q(m_matrixStack);
}
