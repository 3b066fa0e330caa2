#include "host/pellix_game.h"

#include <GLFW/glfw3.h>

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

}  // namespace

int QvPellixGame::Main(int argc, const char** argv) {
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
    qvRunQuitHook();
    glfwTerminate();
    return result;
}
