// Image frame layouts, flags and handles, and the errors of bad initialisation, without
// a window.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

#include "graphics/image.h"
#include "graphics/surface.h"

namespace {

gxtkSurface* BlankSurface(int w, int h) {
    gxtkSurface* surface = new gxtkSurface;
    surface->SetData(nullptr, w, h, 4);
    return surface;
}

std::vector<int> FrameXs(c_Image* image) {
    std::vector<int> xs;
    for (int i = 0; i < image->m_frames.Length(); ++i) xs.push_back(image->m_frames[i]->m_x);
    return xs;
}

TEST(ImageFrames, StripWithCentredHandle) {
    c_Image* image = (new c_Image)->m_new()->p_Init(BlankSurface(96, 32), 4, c_Image::CentreHandle);
    EXPECT_EQ(FrameXs(image), (std::vector<int>{0, 24, 48, 72}));
    EXPECT_EQ(image->m_width, 24);
    EXPECT_EQ(image->m_height, 32);
    EXPECT_FLOAT_EQ(image->m_handleX, 12);
    EXPECT_FLOAT_EQ(image->m_handleY, 16);
    EXPECT_EQ(image->m_flags, 0);
    EXPECT_EQ(image->m_source, nullptr);
}

TEST(ImageFrames, BordersShrinkEachCell) {
    c_Image* image = (new c_Image)->m_new()->p_Init(BlankSurface(96, 32), 4, c_Image::BorderX);
    EXPECT_EQ(FrameXs(image), (std::vector<int>{1, 25, 49, 73}));
    EXPECT_EQ(image->m_width, 22);
    EXPECT_EQ(image->m_frames[2]->m_y, 0);

    c_Image* both = (new c_Image)
                        ->m_new()
                        ->p_Init(BlankSurface(96, 32), 4,
                                 c_Image::BorderX | c_Image::BorderY | c_Image::CentreHandle);
    EXPECT_EQ(both->m_frames[3]->m_y, 1);
    EXPECT_EQ(both->m_height, 30);
    EXPECT_FLOAT_EQ(both->m_handleX, 11);  // from the size left after the borders
    EXPECT_FLOAT_EQ(both->m_handleY, 15);
    EXPECT_EQ(both->m_flags, c_Image::BorderX | c_Image::BorderY);
}

TEST(ImageFrames, OnlyAnImageCoveringItsWholeSurfaceIsMarkedSo) {
    c_Image* whole = (new c_Image)->m_new()->p_Init(BlankSurface(40, 30), 1, 0);
    EXPECT_EQ(whole->m_flags, c_Image::WholeSurface);
    c_Image* centred =
        (new c_Image)->m_new()->p_Init(BlankSurface(40, 30), 1, c_Image::CentreHandle);
    EXPECT_EQ(centred->m_flags, c_Image::WholeSurface);
    c_Image* bordered = (new c_Image)->m_new()->p_Init(BlankSurface(40, 30), 1, c_Image::BorderX);
    EXPECT_EQ(bordered->m_flags & c_Image::WholeSurface, 0);
    c_Image* strip = (new c_Image)->m_new()->p_Init(BlankSurface(40, 30), 2, 0);
    EXPECT_EQ(strip->m_flags & c_Image::WholeSurface, 0);
}

TEST(ImageFrames, GridRunsInRowsInsideTheSourceRectangle) {
    c_Image* source = (new c_Image)->m_new();
    c_Image* image = (new c_Image)
                         ->m_new()
                         ->p_Init2(BlankSurface(64, 64), 8, 0, 16, 16, 5, 0, source, 4, 2, 48, 40);
    ASSERT_EQ(image->p_Frames(), 5);
    const int want[5][2] = {{12, 2}, {28, 2}, {4, 18}, {20, 18}, {36, 18}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(image->m_frames[i]->m_x, want[i][0]) << i;
        EXPECT_EQ(image->m_frames[i]->m_y, want[i][1]) << i;
    }
    EXPECT_EQ(image->m_source, source);
    EXPECT_EQ(image->m_flags & c_Image::WholeSurface, 0);
}

TEST(ImageFrames, SixteenCellsFillASixtyFourSquare) {
    c_Image* image = (new c_Image)
                         ->m_new()
                         ->p_Init2(BlankSurface(64, 64), 0, 0, 16, 16, 16, 0, nullptr, 0, 0, 64,
                                   64);
    EXPECT_EQ(image->m_frames[15]->m_x, 48);
    EXPECT_EQ(image->m_frames[15]->m_y, 48);
    EXPECT_EQ(image->m_frames[4]->m_x, 0);
    EXPECT_EQ(image->m_frames[4]->m_y, 16);
}

TEST(ImageFrames, NoFramesWhenNoneAreAsked) {
    c_Image* none = (new c_Image)->m_new()->p_Init(BlankSurface(40, 30), 0, 0);
    EXPECT_EQ(none->p_Frames(), 0);
    c_Image* negative = (new c_Image)->m_new()->p_Init(BlankSurface(40, 30), -3, c_Image::BorderX);
    EXPECT_EQ(negative->p_Frames(), 0);
    c_Image* grid = (new c_Image)
                        ->m_new()
                        ->p_Init2(BlankSurface(40, 30), 0, 0, 8, 8, 0, 0, nullptr, 0, 0, 40, 30);
    EXPECT_EQ(grid->p_Frames(), 0);
}

TEST(ImageFrames, SetHandleClearsTheCentreFlag) {
    c_Image* image = (new c_Image)->m_new()->p_Init(BlankSurface(8, 8), 2, 0);
    image->m_flags |= c_Image::CentreHandle;
    image->p_SetHandle(3, 5);
    EXPECT_EQ(image->m_flags & c_Image::CentreHandle, 0);
    EXPECT_FLOAT_EQ(image->m_handleX, 3);
    EXPECT_FLOAT_EQ(image->m_handleY, 5);
}

// Runtime errors end the process: run the statement in a child whose standard output
// (where the error is printed) goes to standard error, and whose input is empty so the
// debugger handshake ends at once.
void WithErrorOutput() {
    std::fflush(stdout);
    dup2(2, 1);
    if (!std::freopen("/dev/null", "r", stdin)) std::_Exit(3);
}

TEST(ImageErrors, SeventeenthCellOfAFullGridIsOutsideTheSurface) {
    EXPECT_EXIT(
        {
            WithErrorOutput();
            (new c_Image)
                ->m_new()
                ->p_Init2(BlankSurface(64, 64), 0, 0, 16, 16, 20, 0, nullptr, 0, 0, 64, 64);
        },
        ::testing::ExitedWithCode(255), "Pellix Runtime Error : Image frame outside surface");
}

TEST(ImageErrors, CellWiderThanTheSurfaceIsOutsideIt) {
    EXPECT_EXIT(
        {
            WithErrorOutput();
            (new c_Image)
                ->m_new()
                ->p_Init2(BlankSurface(10, 64), 0, 0, 16, 16, 1, 0, nullptr, 0, 0, 10, 64);
        },
        ::testing::ExitedWithCode(255), "Pellix Runtime Error : Image frame outside surface");
}

TEST(ImageErrors, InitialisingTwiceIsAnError) {
    EXPECT_EXIT(
        {
            WithErrorOutput();
            c_Image* image = (new c_Image)->m_new()->p_Init(BlankSurface(8, 8), 1, 0);
            image->p_Init(BlankSurface(8, 8), 1, 0);
        },
        ::testing::ExitedWithCode(255), "Pellix Runtime Error : Image already initialized");
    EXPECT_EXIT(
        {
            WithErrorOutput();
            c_Image* image = (new c_Image)->m_new()->p_Init(BlankSurface(8, 8), 1, 0);
            image->p_Init2(BlankSurface(8, 8), 0, 0, 4, 4, 1, 0, nullptr, 0, 0, 8, 8);
        },
        ::testing::ExitedWithCode(255), "Pellix Runtime Error : Image already initialized");
}

}  // namespace
