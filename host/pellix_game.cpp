#include "host/pellix_game.h"

#include <GLFW/glfw3.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "host/memory_policy.h"
#include "host/startup.h"
#if defined(__EMSCRIPTEN__)
#include "host/web_game.h"
#endif

namespace {

int processArgc = 0;
const char** processArgv = nullptr;

void ReportGlfwError(int code, const char* description) {
    std::fprintf(stderr, "GLFW error %d: %s\n", code, description);
}

}  // namespace

int QvPellixGame::Main(int argc, const char** argv) {
    qvKeepLargeBlocksApart();
    glfwSetErrorCallback(ReportGlfwError);
#if defined(GLFW_JOYSTICK_HAT_BUTTONS)
    // Hats are read separately and appended to the buttons in the application's order.
    glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
#endif
    if (!glfwInit()) {
        std::fputs("glfwInit failed\n", stdout);
        std::fflush(stdout);
        std::exit(-1);
    }
#if defined(__EMSCRIPTEN__)
    QvPellixGame* game = new QvWebGame();  // Run hands the frames to the browser, never returning
#else
    QvPellixGame* game = new QvPellixGame();
#endif
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
    qvRunQuitHook();
    glfwTerminate();
    return result;
}
