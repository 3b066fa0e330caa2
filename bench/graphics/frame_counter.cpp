// A library preloaded into the real game (LD_PRELOAD) to count, per rendered frame, the
// OpenGL draw calls and the X server round trips the process makes. The render device sets
// the viewport once at the start of every frame, so each glViewport call closes the frame
// before. Each line of $FRAME_COUNTER_FILE is "frame draw_calls round_trips".
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

long frame = 0;
long drawCalls = 0;
long replyWaits = 0;
FILE* out = nullptr;

template <class Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void EndFrame() {
    if (!out) {
        const char* path = std::getenv("FRAME_COUNTER_FILE");
        out = std::fopen(path ? path : "frame_counter.txt", "w");
        if (out) setvbuf(out, nullptr, _IOLBF, 0);
    }
    if (out && frame > 0) std::fprintf(out, "%ld %ld %ld\n", frame, drawCalls, replyWaits / 2);
    ++frame;
    drawCalls = 0;
    replyWaits = 0;
}

}  // namespace

extern "C" {

void glViewport(int x, int y, int w, int h) {
    static auto next = Next<void (*)(int, int, int, int)>("glViewport");
    EndFrame();
    next(x, y, w, h);
}

void glDrawArrays(unsigned mode, int first, int count) {
    static auto next = Next<void (*)(unsigned, int, int)>("glDrawArrays");
    ++drawCalls;
    next(mode, first, count);
}

void glDrawElements(unsigned mode, int count, unsigned type, const void* indices) {
    static auto next = Next<void (*)(unsigned, int, unsigned, const void*)>("glDrawElements");
    ++drawCalls;
    next(mode, count, type, indices);
}

void glMultiDrawArrays(unsigned mode, const int* first, const int* count, int drawCount) {
    static auto next = Next<void (*)(unsigned, const int*, const int*, int)>("glMultiDrawArrays");
    ++drawCalls;
    next(mode, first, count, drawCount);
}

// Xlib waits for every reply through this, calling it twice for each request it waits on
// (measured with XGetInputFocus and XSync), so two calls make one round trip.
void* xcb_wait_for_reply64(void* connection, unsigned long long request, void** error) {
    static auto next = Next<void* (*)(void*, unsigned long long, void**)>("xcb_wait_for_reply64");
    ++replyWaits;
    return next(connection, request, error);
}

}  // extern "C"
