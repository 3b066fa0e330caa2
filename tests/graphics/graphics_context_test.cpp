// The graphics context's matrix arithmetic and stack, without a window.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/graphics.h"

namespace {

class ContextMatrix : public ::testing::Test {
protected:
    void SetUp() override {
        gc_assign(qv_graphics_context, (new c_GraphicsContext)->m_new());
        qv_graphics_renderDevice = nullptr;
    }
    c_GraphicsContext& ctx() { return *qv_graphics_context; }

    // Where the context's matrix sends (x, y).
    void Apply(float x, float y, float& ox, float& oy) {
        ox = ctx().m_ma * x + ctx().m_mc * y + ctx().m_mtx;
        oy = ctx().m_mb * x + ctx().m_md * y + ctx().m_mty;
    }
};

TEST_F(ContextMatrix, NewContextHasTheIdentityAndRoomForThirtyTwoMatrices) {
    EXPECT_EQ(ctx().m_ma, 1);
    EXPECT_EQ(ctx().m_md, 1);
    EXPECT_EQ(ctx().m_transformed, 0);
    EXPECT_EQ(ctx().m_matrixDirty, 0);
    EXPECT_EQ(ctx().m_matrixStack.Length(), 192);
    EXPECT_EQ(ctx().m_font, nullptr);
}

TEST_F(ContextMatrix, TranslateThenScaleAppliesTheScaleFirst) {
    qv_graphics_Translate(10, 20);
    qv_graphics_Scale(2, 2);
    float x, y;
    Apply(1, 1, x, y);
    EXPECT_FLOAT_EQ(x, 12);
    EXPECT_FLOAT_EQ(y, 22);
    EXPECT_EQ(ctx().m_transformed, 1);
    EXPECT_EQ(ctx().m_matrixDirty, 1);
}

TEST_F(ContextMatrix, TransformComposesEveryComponent) {
    qv_graphics_SetMatrix(1, 2, 3, 4, 5, 6);
    qv_graphics_Transform(7, 8, 9, 10, 11, 12);
    EXPECT_FLOAT_EQ(ctx().m_ma, 7 * 1 + 8 * 3);
    EXPECT_FLOAT_EQ(ctx().m_mb, 7 * 2 + 8 * 4);
    EXPECT_FLOAT_EQ(ctx().m_mc, 9 * 1 + 10 * 3);
    EXPECT_FLOAT_EQ(ctx().m_md, 9 * 2 + 10 * 4);
    EXPECT_FLOAT_EQ(ctx().m_mtx, 11 * 1 + 12 * 3 + 5);
    EXPECT_FLOAT_EQ(ctx().m_mty, 11 * 2 + 12 * 4 + 6);
    Array<float> m(6);
    for (int i = 0; i < 6; ++i) m[i] = static_cast<float>(i + 1);
    qv_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_EQ(ctx().m_transformed, 0);
    qv_graphics_Transform2(m);
    EXPECT_FLOAT_EQ(ctx().m_mty, 6);
    qv_graphics_SetMatrix2(m);
    EXPECT_FLOAT_EQ(ctx().m_md, 4);
}

TEST_F(ContextMatrix, RotateNinetyTurnsTheXAxisUpTheScreen) {
    qv_graphics_Rotate(90);
    EXPECT_NE(ctx().m_ma, 0.0f);  // cos 90 degrees in floating point, not exactly 0
    EXPECT_NEAR(ctx().m_ma, 0, 1e-6);
    EXPECT_FLOAT_EQ(ctx().m_mb, -1);
    EXPECT_FLOAT_EQ(ctx().m_mc, 1);
    EXPECT_NEAR(ctx().m_md, 0, 1e-6);
    EXPECT_EQ(ctx().m_transformed, 1);
    float x, y;
    Apply(10, 0, x, y);
    EXPECT_NEAR(x, 0, 1e-4);
    EXPECT_NEAR(y, -10, 1e-4);
}

TEST_F(ContextMatrix, StackDoublesOnTheThirtyThirdPushAndPopsInReverse) {
    for (int i = 0; i < 33; ++i) {
        EXPECT_EQ(ctx().m_matrixStack.Length(), 192) << "push " << i;
        qv_graphics_SetMatrix(1, 0, 0, 1, static_cast<float>(i), static_cast<float>(-i));
        qv_graphics_PushMatrix();
    }
    EXPECT_EQ(ctx().m_matrixStack.Length(), 384);
    EXPECT_EQ(ctx().m_matrixSp, 198);
    qv_graphics_SetMatrix(5, 5, 5, 5, 5, 5);
    for (int i = 32; i >= 0; --i) {
        qv_graphics_PopMatrix();
        EXPECT_FLOAT_EQ(ctx().m_mtx, static_cast<float>(i));
        EXPECT_FLOAT_EQ(ctx().m_mty, static_cast<float>(-i));
        EXPECT_FLOAT_EQ(ctx().m_ma, 1);
    }
    EXPECT_EQ(ctx().m_matrixSp, 0);
}

TEST_F(ContextMatrix, PopOnAnEmptyStackKeepsTheMatrix) {
    qv_graphics_Translate(3, 4);
    qv_graphics_PopMatrix();
    EXPECT_EQ(ctx().m_matrixSp, 0);
    EXPECT_FLOAT_EQ(ctx().m_mtx, 3);
    EXPECT_FLOAT_EQ(ctx().m_mty, 4);
}

TEST_F(ContextMatrix, ValidationWaitsForARenderDevice) {
    qv_graphics_Translate(3, 4);
    ctx().p_Validate();
    EXPECT_EQ(ctx().m_matrixDirty, 1);
}

}  // namespace
