// Rendering in the game's benchmarks (see game_render.h).
#include "bench/game/game_render.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "game/my_app.h"
#include "graphics/graphics.h"
#include "tests/graphics/gl_test_window.h"

BenchWindow BenchWindowSize() {
    BenchWindow window;
    const char* size = std::getenv("VORTAN_BENCH_WINDOW");
    if (size && std::sscanf(size, "%dx%d", &window.width, &window.height) != 2) window = {};
    return window;
}

gxtkGraphics* InstallRenderDevice() {
    // A static root: the collector keeps the address of the variable it is given.
    static gxtkGraphics* device = nullptr;
    const BenchWindow window = BenchWindowSize();
    if (!device && gltest::OpenWindow(window.width, window.height)) {
        device = new gxtkGraphics;
        gc_root(device);
    }
    if (device) qv_graphics_SetGraphicsDevice(device);
    return device;
}

void RenderGameFrame(gxtkGraphics* device, c_MyApp* app) {
    device->BeginRender();
    qv_graphics_BeginRender();
    app->p_OnRender();
    qv_graphics_EndRender();
    device->EndRender();
    glFinish();
}

DrawCallCounter::DrawCallCounter(const gxtkGraphics* device)
    : device_(device), before_(device->drawCallCount) {}

void DrawCallCounter::Report(benchmark::State& state) const {
    state.counters["draw_calls_per_frame"] = double(device_->drawCallCount - before_) /
                                             std::max<int64_t>(1, state.iterations());
}
