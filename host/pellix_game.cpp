#include "host/pellix_game.h"

#include <GLFW/glfw3.h>
#include <malloc.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "host/startup.h"

namespace {

int processArgc = 0;
const char** processArgv = nullptr;

void ReportGlfwError(int code, const char* description) {
    std::fprintf(stderr, "GLFW error %d: %s\n", code, description);
}

// Pictures and their textures are large blocks, all replaced whenever the window changes
// size. Each block from 128 KiB up gets a mapping of its own, so freeing it gives its
// memory back at once instead of leaving a hole in the heap; the thresholds are fixed,
// since the allocator would otherwise raise them after the first large block is freed.
// The heap's top is trimmed only past 4 MiB, so the renderer's per-frame blocks do not
// make it shrink and grow every frame.
void KeepLargeBlocksApart() {
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 4 * 1024 * 1024);
}

}  // namespace

int QvPellixGame::Main(int argc, const char** argv) {
    KeepLargeBlocksApart();
    glfwSetErrorCallback(ReportGlfwError);
    // Hats are read separately and appended to the buttons in the application's order.
    glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
    if (!glfwInit()) {
        std::fputs("glfwInit failed\n", stdout);
        std::fflush(stdout);
        std::exit(-1);
    }
    auto* game = new QvPellixGame();
    processArgc = argc;
    processArgv = argv;
    qvInstallSignalHandlers();
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    gc_init_lists();
    try {
        qvInit();
        gc_mark();
        qvCreateApp();
    } catch (ThrowableObject* ex) {
        glfwTerminate();
        game->Die(ex);
    }
    int result = 0;
    if (game->Delegate()) {
        game->Run();
        if (!game->Window()) result = -1;
    }
    glfwTerminate();
    return result;
}
