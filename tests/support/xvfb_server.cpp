#include "tests/support/xvfb_server.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

XvfbServer::XvfbServer(int width, int height) {
    int fds[2];
    if (pipe(fds) != 0) return;
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a killed test
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", "-noreset", (char*)nullptr);
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (pid > 0 && !number.empty()) {
        pid_ = pid;
        display_ = ":" + number;
    } else if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

XvfbServer::~XvfbServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

ProcessOptions XvfbServer::Options(ProcessOptions base) const {
    base.env["DISPLAY"] = display_;
    return base;
}

ProcessResult XvfbServer::Run(const std::vector<std::string>& argv, double timeoutSeconds) const {
    ProcessOptions options = Options();
    options.timeoutSeconds = timeoutSeconds;
    return RunProcess(argv, options);
}

std::string XvfbServer::WaitForWindow(const std::string& title, double timeoutSeconds) const {
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::duration<double>(timeoutSeconds);
    do {
        ProcessResult r = Run({"xdotool", "search", "--name", "^" + title + "$"});
        if (r.exitCode == 0 && !r.out.empty()) return r.out.substr(0, r.out.find('\n'));
        SleepSeconds(0.1);
    } while (std::chrono::steady_clock::now() < deadline);
    return "";
}

bool XvfbServer::Screenshot(const std::string& pngPath) const {
    return Run({"import", "-window", "root", pngPath}, 30).exitCode == 0;
}
