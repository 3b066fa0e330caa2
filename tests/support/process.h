// Runs a child program for whole-process tests: captures its output, feeds its input,
// and reports how it ended.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

struct ProcessResult {
    int exitCode = -1000;  // exit status 0..255, or -signal when killed by a signal
    bool timedOut = false;
    std::string out;  // standard output
    std::string err;  // standard error
};

struct ProcessOptions {
    std::string stdinText;                   // written to the child's input, then closed
    std::map<std::string, std::string> env;  // added to (or replacing in) the environment
    std::string workDir;                     // empty: the test's working directory
    double timeoutSeconds = 30.0;            // killed with SIGKILL after this
};

// Runs argv[0] (a path) to completion.
ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});

// A child left running while the test acts on it; its output goes to files.
class RunningProcess {
public:
    RunningProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});
    ~RunningProcess();  // kills the child if it still runs
    int Pid() const { return pid_; }
    bool Running();
    // Waits for the end, up to the timeout; returns the result (timedOut when killed).
    ProcessResult Wait(double timeoutSeconds);
    // Standard output so far.
    std::string OutputSoFar() const;
    // Polls the output until it contains `text` or the timeout passes.
    bool WaitForOutput(const std::string& text, double timeoutSeconds) const;
    void Signal(int sig);

private:
    int pid_ = -1;
    bool reaped_ = false;
    int status_ = 0;
    std::string outPath_, errPath_;
};

// Runs `body` in a forked child and returns what it reports, or "killed" when it outlives
// the time limit or grows past 256 MiB (a read without end). With `asOtherUser` a root
// test drops to the user nobody first, since root passes every permission check.
std::string InChild(const std::function<std::string()>& body, bool asOtherUser = false);
// In a child: a root process becomes the user nobody for good; true when it is not root
// or dropped.
bool DropRootToNobody();

// The resident memory of a process in KiB; 0 when it is gone.
long ResidentKilobytes(int pid);

// The absolute path of a program built beside the tests (bin/NAME).
std::string BuiltProgram(const std::string& name);
// Sleeps for the given number of seconds.
void SleepSeconds(double seconds);
// Asks `test` until it holds, sleeping `pollSeconds` between asks, for at most `seconds`;
// true when it held.
bool PollUntil(const std::function<bool()>& test, double seconds, double pollSeconds = 0.05);
