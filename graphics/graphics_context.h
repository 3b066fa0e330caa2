// c_GraphicsContext: the graphics module's current colour, blend, scissor, font and
// transformation matrix with its stack of saved matrices.
#pragma once

#include "graphics/image.h"
#include "runtime/object.h"

class c_GraphicsContext : public Object {
public:
    c_Image* m_defaultFont = nullptr;
    c_Image* m_font = nullptr;
    int m_firstChar = 0;
    int m_matrixSp = 0;  // floats in use on m_matrixStack, 6 per saved matrix
    float m_ma = 1.0f, m_mb = 0.0f, m_mc = 0.0f, m_md = 1.0f, m_mtx = 0.0f, m_mty = 0.0f;
    int m_transformed = 0;
    int m_matrixDirty = 0;  // 1 while the device lacks the current matrix
    float m_red = 0.0f, m_green = 0.0f, m_blue = 0.0f;
    float m_alpha = 0.0f;
    int m_blend = 0;
    float m_scissorX = 0.0f, m_scissorY = 0.0f, m_scissorW = 0.0f, m_scissorH = 0.0f;
    Array<float> m_matrixStack;

    c_GraphicsContext* m_new();
    // Hands the matrix to the render device if it changed since it was last handed over.
    int p_Validate();

    // Matrix operations on the context alone; each marks the matrix dirty.
    void p_SetMatrix(float ma, float mb, float mc, float md, float mtx, float mty);
    // Applies (a, b, c, d, tx, ty) to points first and the current matrix after it.
    void p_Transform(float a, float b, float c, float d, float tx, float ty);
    void p_PushMatrix();
    // Restores the last saved matrix; an empty stack leaves the matrix as it is.
    void p_PopMatrix();

    void mark() override;
};
