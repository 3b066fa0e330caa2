// Opening a web address in the user's browser.
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <thread>

#include "host/glfw_game.h"

extern char** environ;

// Runs xdg-open directly (no shell, so the address is never interpreted) and reaps it
// on a side thread; a failure is ignored like a browser that cannot open the page.
void QvGlfwGame::OpenUrl(String url) {
    std::string address = url.ToUtf8();
    char* args[] = {const_cast<char*>("xdg-open"), const_cast<char*>(address.c_str()), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, args, environ) != 0) return;
    std::thread([pid] {
        int status;
        waitpid(pid, &status, 0);
    }).detach();
}
