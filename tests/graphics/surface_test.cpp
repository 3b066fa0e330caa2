// Texture surfaces: premultiplied pixel data, lazy textures per OpenGL context, row
// uploads, loading through the host, and release.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/graphics_device.h"
#include "host/glfw_game.h"
#include "tests/graphics/gl_test_window.h"
#include "tests/support/scratch_dir.h"

namespace {

unsigned char* Malloced(const std::vector<unsigned char>& bytes) {
    unsigned char* p = static_cast<unsigned char*>(std::malloc(bytes.size()));
    std::memcpy(p, bytes.data(), bytes.size());
    return p;
}

TEST(SurfaceData, PremultipliesGreyAlphaAndRgbaWithTruncation) {
    gxtkSurface* grey = new gxtkSurface;
    grey->SetData(Malloced({200, 128, 255, 255, 9, 0}), 3, 1, 2);
    EXPECT_EQ(grey->format, static_cast<GLenum>(GL_LUMINANCE_ALPHA));
    const unsigned char greyWanted[6] = {100, 128, 255, 255, 0, 0};
    EXPECT_EQ(std::memcmp(grey->data, greyWanted, 6), 0);

    gxtkSurface* rgba = new gxtkSurface;
    rgba->SetData(Malloced({255, 255, 255, 0, 255, 128, 10, 128, 1, 2, 3, 255}), 3, 1, 4);
    EXPECT_EQ(rgba->format, static_cast<GLenum>(GL_RGBA));
    const unsigned char rgbaWanted[12] = {0, 0, 0, 0, 128, 64, 5, 128, 1, 2, 3, 255};
    EXPECT_EQ(std::memcmp(rgba->data, rgbaWanted, 12), 0);

    gxtkSurface* rgb = new gxtkSurface;
    rgb->SetData(Malloced({7, 8, 9}), 1, 1, 3);
    EXPECT_EQ(rgb->format, static_cast<GLenum>(GL_RGB));
    EXPECT_EQ(rgb->data[0], 7);

    gxtkSurface* lum = new gxtkSurface;
    lum->SetData(Malloced({77}), 1, 1, 1);
    EXPECT_EQ(lum->format, static_cast<GLenum>(GL_LUMINANCE));
    EXPECT_EQ(lum->data[0], 77);

    gxtkSurface* blank = new gxtkSurface;
    blank->SetData(nullptr, 16, 8, 4);
    EXPECT_EQ(blank->Width(), 16);
    EXPECT_EQ(blank->Height(), 8);
    EXPECT_EQ(blank->data, nullptr);
    EXPECT_EQ(blank->Loaded(), 1);
}

TEST(SurfaceData, PowerOfTwoSizes) {
    EXPECT_EQ(gxtkPowerOfTwoAtLeast(100), 128);
    EXPECT_EQ(gxtkPowerOfTwoAtLeast(128), 128);
    EXPECT_EQ(gxtkPowerOfTwoAtLeast(129), 256);
    EXPECT_EQ(gxtkPowerOfTwoAtLeast(1), 1);
    EXPECT_EQ(gxtkPowerOfTwoAtLeast(0), 1);
}

TEST(SurfaceData, BindBeforeAnyContextDoesNothing) {
    int saved = glfwGraphicsSeq;
    glfwGraphicsSeq = 0;
    gxtkSurface* surface = new gxtkSurface;
    surface->SetData(nullptr, 4, 4, 4);
    surface->Bind();
    EXPECT_EQ(surface->seq, -1);
    EXPECT_EQ(surface->texture, 0u);
    glfwGraphicsSeq = saved;
}

// Surfaces on a live OpenGL context, drawn and read back.
class SurfaceTextures : public ::testing::Test {
protected:
    static constexpr int W = 160;
    static constexpr int H = 120;

    static void SetUpTestSuite() {
        if (!QvGame::_game) new QvGlfwGame;  // the host that decodes image files
        windowOpen = gltest::OpenWindow(W, H);
    }
    static void TearDownTestSuite() { gltest::CloseWindow(); }

    void SetUp() override {
        ASSERT_TRUE(windowOpen) << "no OpenGL window under Xvfb";
        StartFrame();
    }

    void StartFrame() { device = gltest::BeginPlainFrame(); }
    std::string WrongPixels(std::initializer_list<gltest::Pixel> expected) {
        return gltest::WrongPixels(*device, expected);
    }

    // A w x h picture whose every pixel differs from its neighbours, as RGBA bytes.
    static std::vector<uint8_t> Pattern(int w, int h) {
        std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
                p[0] = static_cast<uint8_t>(x * 2);
                p[1] = static_cast<uint8_t>(y * 4);
                p[2] = static_cast<uint8_t>((x + y) % 2 ? 255 : 40);
                p[3] = 255;
            }
        }
        return rgba;
    }

    // The pattern written as a w x h PNG file and loaded; null when either fails.
    gxtkSurface* LoadPattern(const std::string& name, int w, int h) {
        std::string path = scratch.File(name);
        if (!gltest::WritePng(path, w, h, Pattern(w, h))) return nullptr;
        return device->LoadSurface(String(path.c_str()));
    }

    // Counts pixels of the w x h block at (left, top) that differ from the pattern.
    int Mismatches(int left, int top, int w, int h) {
        std::vector<uint8_t> want = Pattern(w, h);
        Array<int> got(w * h);
        device->ReadPixels(got, left, top, w, h, 0, w);
        int bad = 0;
        for (int i = 0; i < w * h; ++i) {
            uint32_t rgb = static_cast<uint32_t>(got[i]) & 0xffffff;
            uint32_t expected = uint32_t(want[i * 4]) << 16 | uint32_t(want[i * 4 + 1]) << 8 |
                                want[i * 4 + 2];
            if (rgb != expected) ++bad;
        }
        return bad;
    }

    static bool windowOpen;
    ScratchDir scratch;
    gxtkGraphics* device = nullptr;
};

bool SurfaceTextures::windowOpen = false;

TEST_F(SurfaceTextures, LoadedNonPowerOfTwoPictureDrawsExactly) {
    gxtkSurface* surface = LoadPattern("picture.png", 100, 60);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->Width(), 100);
    EXPECT_EQ(surface->Height(), 60);
    EXPECT_EQ(surface->depth, 4);
    EXPECT_EQ(surface->seq, glfwGraphicsSeq);
    EXPECT_FLOAT_EQ(surface->uscale, 1.0f / 100);
    EXPECT_FLOAT_EQ(surface->vscale, 1.0f / 60);
    device->DrawSurface(surface, 7, 9);
    device->EndRender();
    EXPECT_EQ(Mismatches(7, 9, 100, 60), 0);
    EXPECT_EQ(gltest::RgbAt(*device, 107, 9), 0u);
}

TEST_F(SurfaceTextures, AnEarlierOpenGLErrorIsNotTakenForARejectedSize) {
    gxtkSurface* surface = device->CreateSurface(100, 60);
    glEnable(0x7fff);  // not a capability: leaves GL_INVALID_ENUM pending
    surface->Bind();
    EXPECT_FLOAT_EQ(surface->uscale, 1.0f / 100);
    EXPECT_FLOAT_EQ(surface->vscale, 1.0f / 60);
}

TEST_F(SurfaceTextures, LoadedPixelsArePremultipliedOnce) {
    std::string path = scratch.File("glass.png");
    ASSERT_TRUE(gltest::WritePng(path, 2, 1, {200, 100, 50, 128, 255, 255, 255, 0}));
    gxtkSurface* surface = new gxtkSurface;
    ASSERT_TRUE(device->LoadSurface__UNSAFE__(surface, String(path.c_str())));
    const unsigned char wanted[8] = {100, 50, 25, 128, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(surface->data, wanted, 8), 0);
    surface->OnUnsafeLoadComplete();
    device->DrawSurface(surface, 0, 0);
    device->EndRender();
    EXPECT_EQ(gltest::RgbAt(*device, 0, 0), 0x643219u);
}

TEST_F(SurfaceTextures, WritePixelsRefusesASourceBlockOutsideItsArray) {
    gxtkSurface* surface = device->CreateSurface(4, 4);
    Array<int> argb(16);
    for (int i = 0; i < 16; ++i) argb[i] = -1;
    device->WritePixels2(surface, argb, 0, 0, 4, 4, 0, 4);
    Array<int> shortRow(6);
    device->WritePixels2(surface, shortRow, 0, 0, 4, 2, 0, 4);  // second row would overrun
    device->WritePixels2(surface, shortRow, 0, 0, 2, 1, -1, 2);
    for (int i = 0; i < 16 * 4; ++i) ASSERT_EQ(surface->data[i], 255) << i;
}

TEST_F(SurfaceTextures, MissingFileGivesNoSurface) {
    EXPECT_EQ(device->LoadSurface(String(scratch.File("absent.png").c_str())), nullptr);
    gxtkSurface* surface = new gxtkSurface;
    EXPECT_FALSE(
        device->LoadSurface__UNSAFE__(surface, String(scratch.File("absent.png").c_str())));
    EXPECT_EQ(surface->data, nullptr);
    EXPECT_EQ(surface->seq, -1);
}

// Once in a texture, a loaded picture keeps only its file's bytes, far fewer than its
// pixels, and decodes them again for the texture of a new context.
TEST_F(SurfaceTextures, TextureIsRebuiltFromMemoryAfterANewContext) {
    gxtkSurface* surface = LoadPattern("sprite.png", 24, 20);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->data, nullptr);
    ASSERT_NE(surface->file, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(surface->file), size_t(surface->fileLength)),
              scratch.Read("sprite.png"));
    ASSERT_EQ(unlink(scratch.File("sprite.png").c_str()), 0);  // nothing to read from disk again
    int oldSeq = surface->seq;

    ASSERT_TRUE(gltest::OpenWindow(W, H));  // a new window with a new context
    ASSERT_NE(glfwGraphicsSeq, oldSeq);
    StartFrame();
    device->DrawSurface(surface, 30, 40);
    device->EndRender();
    EXPECT_EQ(surface->seq, glfwGraphicsSeq);
    EXPECT_EQ(Mismatches(30, 40, 24, 20), 0);
    EXPECT_EQ(surface->data, nullptr);
}

// Written pixels are no longer the file's: the surface keeps its pixels from then on.
TEST_F(SurfaceTextures, WritingIntoALoadedPictureKeepsItsPixelsForTheNextContext) {
    gxtkSurface* surface = LoadPattern("painted.png", 24, 20);
    ASSERT_NE(surface, nullptr);
    std::vector<uint32_t> white(4, 0xffffffffu);
    surface->SetSubData(2, 3, 2, 2, white.data(), 2);
    EXPECT_EQ(surface->file, nullptr);
    ASSERT_NE(surface->data, nullptr);

    ASSERT_TRUE(gltest::OpenWindow(W, H));
    StartFrame();
    device->DrawSurface(surface, 30, 40);
    device->EndRender();
    EXPECT_EQ(WrongPixels({{32, 43, 0xffffff}, {33, 44, 0xffffff}}), "");
    EXPECT_EQ(Mismatches(30, 40, 24, 20), 4) << "the rest is still the picture";
}

TEST_F(SurfaceTextures, SubDataUploadsWholeRowsAtOnceAndPartRowsOneByOne) {
    gxtkSurface* surface = device->CreateSurface(16, 16);
    surface->Bind();
    ASSERT_EQ(surface->seq, glfwGraphicsSeq);
    std::vector<uint32_t> black(256, 0xff000000u);
    surface->SetSubData(0, 0, 16, 16, black.data(), 16);
    EXPECT_EQ(surface->subDataUploads, 1);
    std::vector<uint32_t> red(32, 0xffff0000u);
    surface->SetSubData(2, 3, 4, 2, red.data(), 4);
    EXPECT_EQ(surface->subDataUploads, 3);
    std::vector<uint32_t> green(32, 0x8000ff00u);
    surface->SetSubData(0, 8, 16, 2, green.data(), 16);
    EXPECT_EQ(surface->subDataUploads, 4);
    const unsigned char* px = surface->data + (8 * 16 + 5) * 4;
    EXPECT_EQ(px[0], 0);
    EXPECT_EQ(px[1], 128);
    EXPECT_EQ(px[3], 128);

    device->DrawSurface(surface, 50, 50);
    device->EndRender();
    EXPECT_EQ(WrongPixels(
                  {{52, 53, 0xff0000}, {55, 54, 0xff0000}, {56, 54, 0}, {65, 59, 0x008000}}),
              "");
}

TEST_F(SurfaceTextures, SubDataOfAStaleTextureWaitsForTheNextBind) {
    gxtkSurface* surface = device->CreateSurface(8, 8);
    std::vector<uint32_t> black(64, 0xff000000u);
    surface->SetSubData(0, 0, 8, 8, black.data(), 8);
    ASSERT_TRUE(gltest::OpenWindow(W, H));
    StartFrame();
    std::vector<uint32_t> blue(4, 0xff0000ffu);
    int uploads = surface->subDataUploads;
    surface->SetSubData(2, 2, 2, 2, blue.data(), 2);
    EXPECT_EQ(surface->subDataUploads, uploads);
    device->DrawSurface(surface, 10, 10);
    device->EndRender();
    EXPECT_EQ(WrongPixels({{12, 12, 0x0000ff}, {14, 12, 0}}), "");
}

TEST_F(SurfaceTextures, SubDataIsClippedToTheSurfaceAndIgnoredWithoutAlpha) {
    gxtkSurface* surface = device->CreateSurface(4, 4);
    std::vector<uint32_t> white(36, 0xffffffffu);
    surface->SetSubData(-1, 2, 6, 6, white.data(), 6);  // would run past three edges
    EXPECT_EQ(surface->data[(2 * 4 + 0) * 4 + 3], 255);
    EXPECT_EQ(surface->data[(3 * 4 + 3) * 4 + 3], 255);

    gxtkSurface* rgb = new gxtkSurface;
    rgb->SetData(Malloced(std::vector<unsigned char>(12, 5)), 2, 2, 3);
    rgb->SetSubData(0, 0, 2, 2, white.data(), 2);
    EXPECT_EQ(rgb->data[0], 5);
    EXPECT_EQ(rgb->subDataUploads, 0);
}

TEST_F(SurfaceTextures, DiscardReleasesEverythingAtOnceAndTheSurfaceDrawsNothingAfter) {
    gxtkSurface* surface = LoadPattern("gone.png", 6, 5);
    ASSERT_NE(surface, nullptr);
    GLuint texture = surface->texture;
    EXPECT_TRUE(glIsTexture(texture));
    device->DrawSurface(surface, 20, 20);  // still pending when the surface goes
    surface->Discard();
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_EQ(surface->data, nullptr);
    EXPECT_EQ(surface->file, nullptr);
    EXPECT_EQ(surface->seq, -1);
    surface->Bind();
    std::vector<uint32_t> white(4, 0xffffffffu);
    surface->SetSubData(0, 0, 2, 2, white.data(), 2);
    EXPECT_EQ(surface->seq, -1) << "no texture is made again";
    EXPECT_EQ(surface->data, nullptr);
    device->DrawSurface(surface, 0, 0);
    device->DrawSurface2(surface, 10, 0, 0, 0, 2, 2);
    EXPECT_EQ(device->vertexCount, 4);
    device->EndRender();
    EXPECT_EQ(WrongPixels({{1, 1, 0}, {21, 21, 0}}), "");
    EXPECT_EQ(surface->Width(), 6);
    device = nullptr;
    gc_collect_all();
    gc_init_lists();  // the discarded surface is destroyed too
}

// A host whose file "stand-in" stands for a picture twice its size until `arrived`: its
// pixels then decode from "picture".
class StandInHost : public QvGlfwGame {
public:
    int StandInScale(const unsigned char* bytes, int length) override {
        return IsStandIn(bytes, length) ? (arrived ? 1 : 2) : 0;
    }
    unsigned char* DecodeImageData(const unsigned char* bytes, int length, int* w, int* h,
                                   int* d) override {
        if (IsStandIn(bytes, length) && arrived) {
            const std::string file = ReadAll(picture);
            bytes = reinterpret_cast<const unsigned char*>(file.data());
            return QvGlfwGame::DecodeImageData(bytes, int(file.size()), w, h, d);
        }
        return QvGlfwGame::DecodeImageData(bytes, length, w, h, d);
    }
    bool IsStandIn(const unsigned char* bytes, int length) {
        return ReadAll(standIn) ==
               std::string(reinterpret_cast<const char*>(bytes), size_t(length));
    }
    static std::string ReadAll(const std::string& path) {
        std::string bytes;
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            for (int c; (c = std::fgetc(f)) != EOF;) bytes += char(c);
            std::fclose(f);
        }
        return bytes;
    }
    std::string standIn, picture;
    bool arrived = false;
};

// A stand-in draws as its picture's size from a texture half as large, each of its pixels
// a 2 x 2 block; once the picture itself has come, the next frame makes the texture again.
TEST_F(SurfaceTextures, AStandInDrawsAtItsPicturesSizeUntilThePictureComes) {
    struct Hosts {  // the suite's host again when the test ends
        QvGame* game = QvGame::_game;
        QvGlfwGame* glfw = QvGlfwGame::_glfwGame;
        ~Hosts() { QvGame::_game = game, QvGlfwGame::_glfwGame = glfw; }
    } hosts;
    StandInHost standIns;
    standIns.standIn = scratch.File("stand-in.png");
    standIns.picture = scratch.File("picture.png");
    ASSERT_TRUE(gltest::WritePng(standIns.standIn, 12, 10, Pattern(12, 10)));
    ASSERT_TRUE(gltest::WritePng(standIns.picture, 24, 20, Pattern(24, 20)));
    gxtkSurface* surface = device->LoadSurface(String(standIns.standIn.c_str()));
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->Width(), 24);
    EXPECT_EQ(surface->Height(), 20);
    EXPECT_FLOAT_EQ(surface->uscale, 1.0f / 24);
    device->DrawSurface(surface, 5, 5);
    device->EndRender();
    EXPECT_EQ(WrongPixels({{5, 5, gltest::RgbAt(*device, 6, 6)},
                           {27, 23, gltest::RgbAt(*device, 28, 24)},
                           {7, 5, gltest::RgbAt(*device, 8, 6)}}),
              "");
    EXPECT_NE(gltest::RgbAt(*device, 5, 5), gltest::RgbAt(*device, 7, 5));

    standIns.arrived = true;
    StartFrame();
    device->DrawSurface(surface, 5, 5);
    device->EndRender();
    EXPECT_EQ(surface->textureScale, 1);
    EXPECT_EQ(Mismatches(5, 5, 24, 20), 0);
}

TEST_F(SurfaceTextures, CollectingASurfaceDeletesItsTexture) {
    gxtkSurface* surface = device->CreateSurface(8, 8);
    surface->Bind();
    GLuint texture = surface->texture;
    ASSERT_TRUE(glIsTexture(texture));
    device = nullptr;  // nothing here is rooted: the collection frees it all
    gc_collect_all();
    gc_init_lists();  // destroys the freed blocks now rather than at their reuse
    EXPECT_FALSE(glIsTexture(texture));
}

}  // namespace
