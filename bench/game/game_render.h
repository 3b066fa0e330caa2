// Rendering in the game's benchmarks: the render device on a window of a private Xvfb
// display, made once per program, and whole frames drawn through it. The window is
// 640 x 480, or the size VORTAN_BENCH_WINDOW gives as WIDTHxHEIGHT.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

class c_MyApp;
class gxtkGraphics;

struct BenchWindow {
    int width = 640;
    int height = 480;
};
BenchWindow BenchWindowSize();

// Installs the device in the graphics module and returns it; null when no window could be
// had. Starting the headless game resets the graphics module, so each program's game
// installs the device right after it starts.
gxtkGraphics* InstallRenderDevice();

// One frame of the game as the framework brackets it, waiting until the rasteriser has
// drawn it.
void RenderGameFrame(gxtkGraphics* device, c_MyApp* app);

// The draw calls per frame over a benchmark's iterations, as the counter
// "draw_calls_per_frame".
class DrawCallCounter {
public:
    explicit DrawCallCounter(const gxtkGraphics* device);
    void Report(benchmark::State& state) const;

private:
    const gxtkGraphics* device_;
    int64_t before_;
};
