// Render device costs: submitting transformed sprites, and whole frames of mixed
// primitives on Mesa under a private Xvfb display, with the draw calls they take.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cmath>

#include "graphics/graphics.h"
#include "host/memory_policy.h"
#include "tests/graphics/gl_test_window.h"

namespace {

constexpr int W = 640;
constexpr int H = 480;

gxtkGraphics* Device() {
    static gxtkGraphics* device = [] {
        qvKeepLargeBlocksApart();  // the game's allocator behaviour
        if (!gltest::OpenWindow(W, H)) return static_cast<gxtkGraphics*>(nullptr);
        gc_assign(qv_graphics_context, (new c_GraphicsContext)->m_new());
        gxtkGraphics* d = new gxtkGraphics;
        qv_graphics_SetGraphicsDevice(d);
        return d;
    }();
    return device;
}

gxtkSurface* Sheet(gxtkGraphics* device, int size, uint32_t colour) {
    gxtkSurface* surface = device->CreateSurface(size, size);
    Array<int> argb(size * size);
    for (int i = 0; i < argb.Length(); ++i)
        argb[i] = static_cast<int>(colour ^ (i * 2654435761u & 0x00ffffff));
    device->WritePixels2(surface, argb, 0, 0, size, size, 0, size);
    return surface;
}

// The device, or null after marking the benchmark skipped.
gxtkGraphics* DeviceOrSkip(benchmark::State& state) {
    gxtkGraphics* device = Device();
    if (!device) state.SkipWithError("no OpenGL window under Xvfb");
    return device;
}

void StartFrame(gxtkGraphics* device) {
    device->BeginRender();
    qv_graphics_BeginRender();
}

// Ends a whole frame and waits until the rasteriser has drawn it.
void FinishFrame(gxtkGraphics* device) {
    qv_graphics_EndRender();
    device->EndRender();
    glFinish();
}

// The device's draw calls and batches per frame over a benchmark's iterations.
class PerFrame {
public:
    explicit PerFrame(gxtkGraphics* device)
        : device_(device), calls0_(device->drawCallCount), flushes0_(device->flushCount) {}
    void Report(benchmark::State& state) const {
        double frames = static_cast<double>(std::max<int64_t>(1, state.iterations()));
        state.counters["draw_calls_per_frame"] = (device_->drawCallCount - calls0_) / frames;
        state.counters["batches_per_frame"] = (device_->flushCount - flushes0_) / frames;
    }

private:
    gxtkGraphics* device_;
    int64_t calls0_, flushes0_;
};

// CPU cost of one rotated, scaled sprite handed to the device. The sprites lie outside
// the window so that the rasteriser has almost nothing to do; batching, transforming
// and flushing are what is measured.
void BM_SubmitTransformedSprite(benchmark::State& state) {
    gxtkGraphics* device = DeviceOrSkip(state);
    if (!device) return;
    gxtkSurface* sheet = Sheet(device, 256, 0xff336699);
    StartFrame(device);
    int64_t calls0 = device->drawCallCount;
    int i = 0;
    for (auto _ : state) {
        float angle = (i & 255) * 0.0245f;
        float c = std::cos(angle), s = std::sin(angle);
        device->SetMatrix(c, -s, s, c, -1000.0f - (i & 63), -1000.0f);
        device->DrawSurface2(sheet, -16, -16, (i & 7) * 32, (i >> 3 & 7) * 32, 32, 32);
        ++i;
    }
    device->EndRender();
    glFinish();
    state.SetItemsProcessed(state.iterations());
    state.counters["draw_calls_per_1k"] = benchmark::Counter(
        1000.0 * (device->drawCallCount - calls0) / std::max<int64_t>(1, state.iterations()));
}
BENCHMARK(BM_SubmitTransformedSprite);

// The same through the graphics module: DrawImage2 with its matrix push, transforms,
// validation and pop.
void BM_SubmitDrawImage2(benchmark::State& state) {
    gxtkGraphics* device = DeviceOrSkip(state);
    if (!device) return;
    c_Image* image = qv_graphics_CreateImage(32, 32, 8, c_Image::CentreHandle);
    StartFrame(device);
    int i = 0;
    for (auto _ : state) {
        qv_graphics_DrawImage2(image, -1000.0f - (i & 63), -1000.0f, static_cast<float>(i & 359),
                               1.5f, 1.5f, i & 7);
        ++i;
    }
    FinishFrame(device);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SubmitDrawImage2);

// One whole frame of 2000 primitives in runs as a game scene has them: sprites from two
// sheets, oval shadows, rectangles, lines and points, cleared, drawn and finished.
void BM_MixedFrame2000(benchmark::State& state) {
    gxtkGraphics* device = DeviceOrSkip(state);
    if (!device) return;
    c_Image* fighters = qv_graphics_CreateImage(32, 48, 8, c_Image::CentreHandle);
    c_Image* props = qv_graphics_CreateImage(16, 16, 16, 0);
    PerFrame perFrame(device);
    for (auto _ : state) {
        StartFrame(device);
        device->Cls(20, 20, 40);
        int drawn = 0;
        for (int run = 0; drawn < 2000; ++run) {
            float x = static_cast<float>(run * 37 % W);
            float y = static_cast<float>(run * 53 % H);
            for (int k = 0; k < 8 && drawn < 2000; ++k, ++drawn) {
                qv_graphics_DrawImage2(fighters, x + k * 4, y, k * 10.0f, 1, 1, k);
            }
            for (int k = 0; k < 2 && drawn < 2000; ++k, ++drawn) {
                qv_graphics_DrawEllipse(x + k * 8, y + 24, 12, 4);
            }
            for (int k = 0; k < 4 && drawn < 2000; ++k, ++drawn) {
                qv_graphics_DrawImage(props, x - k * 16, y - 20, (run + k) & 15);
            }
            for (int k = 0; k < 3 && drawn < 2000; ++k, ++drawn) {
                qv_graphics_DrawRect(x, y + k * 3, 20, 2);
            }
            for (int k = 0; k < 2 && drawn < 2000; ++k, ++drawn) {
                qv_graphics_DrawLine(x, y, x + 30, y + k * 10);
            }
            if (drawn < 2000) {
                device->DrawPoint(x, y);
                ++drawn;
            }
        }
        FinishFrame(device);
    }
    perFrame.Report(state);
}
BENCHMARK(BM_MixedFrame2000)->Unit(benchmark::kMillisecond);

// One command of a replayed draw list: each brings its own alpha, colour and blend mode.
void Command(float alpha, float r, float g, float b, int blend) {
    qv_graphics_SetAlpha(alpha);
    qv_graphics_SetColor(r, g, b);
    qv_graphics_SetBlend(blend);
}

// A frame of 700 commands as the game replays its draw list, every one setting alpha,
// colour and blend before it draws: 100 fighters each over an oval shadow, 250 additive
// sparks, 250 glyphs. Batches break where the picture or the blend mode changes.
void BM_ReplayStyleFrame(benchmark::State& state) {
    gxtkGraphics* device = DeviceOrSkip(state);
    if (!device) return;
    c_Image* fighters = qv_graphics_CreateImage(36, 36, 9, c_Image::CentreHandle);
    c_Image* sparks = qv_graphics_CreateImage(8, 8, 16, c_Image::CentreHandle);
    c_Image* font = qv_graphics_CreateImage(16, 16, 64, c_Image::CentreHandle);
    PerFrame perFrame(device);
    for (auto _ : state) {
        StartFrame(device);
        device->Cls(10, 10, 30);
        for (int i = 0; i < 100; ++i) {
            float x = static_cast<float>(i * 37 % W), y = static_cast<float>(200 + i * 13 % 200);
            Command(0.5f, 0, 0, 0, 0);
            qv_graphics_DrawEllipse(x, y + 16, 14, 4);
            Command(1, 255, 255, 255, 0);
            qv_graphics_DrawImage2(fighters, x, y, 0, i % 2 ? -1.0f : 1.0f, 1, i % 9);
        }
        for (int i = 0; i < 250; ++i) {
            Command(0.3f + (i % 7) * 0.1f, 255, 128 + i % 128, 40, 1);
            qv_graphics_DrawImage2(sparks, static_cast<float>(i * 53 % W),
                                   static_cast<float>(i * 29 % H), i * 7.0f, 1.5f, 1.5f, i % 16);
        }
        for (int i = 0; i < 250; ++i) {
            Command(1, 255, 255, 255, 0);
            qv_graphics_DrawImage2(font, static_cast<float>(8 + i % 60 * 10),
                                   static_cast<float>(8 + i / 60 * 12), 0, 1, 1, i % 64);
        }
        FinishFrame(device);
    }
    perFrame.Report(state);
}
BENCHMARK(BM_ReplayStyleFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
