#include "tests/support/process.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string TempPath(const char* tag) {
    char name[] = "/tmp/vortan-procXXXXXX";
    int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    return std::string(name) + tag;
}

int DecodeStatus(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return -WTERMSIG(status);
    return -1000;
}

// Forks and execs; the child's stdout/stderr go to files, stdin to a file with the text.
int Spawn(const std::vector<std::string>& argv, const ProcessOptions& options,
          const std::string& outPath, const std::string& errPath) {
    std::string inPath = outPath + ".in";
    {
        std::ofstream in(inPath, std::ios::binary);
        in << options.stdinText;
    }
    pid_t pid = fork();
    if (pid != 0) return pid;
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a killed test
    int in = open(inPath.c_str(), O_RDONLY);
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    for (const auto& [key, value] : options.env) setenv(key.c_str(), value.c_str(), 1);
    if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0) _exit(126);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
    RunningProcess child(argv, options);
    return child.Wait(options.timeoutSeconds);
}

RunningProcess::RunningProcess(const std::vector<std::string>& argv,
                               const ProcessOptions& options) {
    outPath_ = TempPath(".out");
    errPath_ = TempPath(".err");
    pid_ = Spawn(argv, options, outPath_, errPath_);
}

RunningProcess::~RunningProcess() {
    if (pid_ > 0 && !reaped_) {
        kill(-pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
    }
    unlink(outPath_.c_str());
    unlink(errPath_.c_str());
    unlink((outPath_ + ".in").c_str());
}

bool RunningProcess::Running() {
    if (reaped_) return false;
    if (waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
    return !reaped_;
}

ProcessResult RunningProcess::Wait(double timeoutSeconds) {
    ProcessResult result;
    double deadline = Now() + timeoutSeconds;
    while (Running() && Now() < deadline) SleepSeconds(0.01);
    if (!reaped_) {
        kill(-pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
        reaped_ = true;
        result.timedOut = true;
    }
    result.exitCode = DecodeStatus(status_);
    result.out = ReadFile(outPath_);
    result.err = ReadFile(errPath_);
    return result;
}

std::string RunningProcess::OutputSoFar() const { return ReadFile(outPath_); }

bool RunningProcess::WaitForOutput(const std::string& text, double timeoutSeconds) const {
    return PollUntil([&] { return OutputSoFar().find(text) != std::string::npos; }, timeoutSeconds,
                     0.02);
}

void RunningProcess::Signal(int sig) {
    if (pid_ > 0 && !reaped_) kill(pid_, sig);
}

bool DropRootToNobody() {
    if (geteuid() != 0) return true;
    const passwd* nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    return setgroups(0, nullptr) == 0 && setgid(gid) == 0 && setuid(uid) == 0;
}

std::string InChild(const std::function<std::string()>& body, bool asOtherUser) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return "no pipe";
    pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        const std::string report = asOtherUser && !DropRootToNobody() ? "cannot drop root" : body();
        if (write(pipeFds[1], report.data(), report.size()) < 0) _exit(2);
        _exit(0);
    }
    close(pipeFds[1]);
    bool ended = false;
    PollUntil(
        [&] {
            ended = waitpid(pid, nullptr, WNOHANG) != 0;
            return ended || ResidentKilobytes(pid) > 256 * 1024;
        },
        10, 0.01);
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::string report;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) report.append(buffer, size_t(n));
    close(pipeFds[0]);
    return ended ? report : "killed";
}

long ResidentKilobytes(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> value) return value;
    }
    return 0;
}

std::string BuiltProgram(const std::string& name) {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string self(buf, n > 0 ? size_t(n) : 0);
    return self.substr(0, self.rfind('/') + 1) + name;
}

void SleepSeconds(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

bool PollUntil(const std::function<bool()>& test, double seconds, double pollSeconds) {
    const double deadline = Now() + seconds;
    do {
        if (test()) return true;
        SleepSeconds(pollSeconds);
    } while (Now() < deadline);
    return false;
}
