// Runtime errors as whole processes: printed lines, exit codes and the debugger handshake.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <tuple>

#include "runtime/runtime.h"
#include "tests/support/process.h"

namespace {

const std::string kBoom = "Pellix Runtime Error : boom\n\n";
const std::string kMarker = "{{~~(null)~~}}\n\n";
constexpr int kFailed = 255;  // exit(-1) as the parent sees it

ProcessResult Probe(const std::string& mode, const std::string& input = "",
                    const std::string& extra = "") {
    ProcessOptions options;
    options.stdinText = input;
    options.timeoutSeconds = 20;
    std::vector<std::string> argv = {BuiltProgram("runtime_error_probe"), mode};
    if (!extra.empty()) argv.push_back(extra);
    return RunProcess(argv, options);
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// How a run ended: its exit code, standard output and standard error.
using Outcome = std::tuple<int, std::string, std::string>;
Outcome Ended(const ProcessResult& r) { return {r.exitCode, r.out, r.err}; }

TEST(ConsoleOutput, PrintsUtf8LinesAndLowBytesToStandardError) {
    EXPECT_EQ(Ended(Probe("print")),
              Outcome(0, "\xC3\xA9\n\xE2\x98\xBA\nlog line\n\n", "to stderr A\n"));
}

TEST(RuntimeError, AnEmptyMessageRunsTheQuitHookAndQuits) {
    EXPECT_EQ(Ended(Probe("quit")), Outcome(0, "before\nquit hook\n", ""));
}

TEST(RuntimeError, WithoutADebuggerTheProcessFails) {
    EXPECT_EQ(Ended(Probe("error")), Outcome(kFailed, kBoom, kMarker));
}

TEST(RuntimeError, MessageCharactersAreCutToEightBits) {
    EXPECT_EQ(Ended(Probe("error", "", "wide")),
              Outcome(kFailed, "Pellix Runtime Error : xA\n\n", kMarker));
}

// Input ends after the four commands: the fifth handshake fails.
TEST(DebuggerHandshake, RunAndStepCommandsReportTheErrorAgain) {
    EXPECT_EQ(Ended(Probe("error", "r\ns\ne\nl\n")),
              Outcome(kFailed, Repeat(kBoom, 5), Repeat(kMarker, 5)));
}

TEST(DebuggerHandshake, QuitEndsWithSuccess) {
    EXPECT_EQ(Ended(Probe("error", "q\n")), Outcome(0, kBoom, kMarker));
}

TEST(DebuggerHandshake, InspectingNothingPrintsAnEmptyLine) {
    EXPECT_EQ(Ended(Probe("error", "@0\nq\n")), Outcome(0, kBoom, kMarker + "\n"));
}

TEST(DebuggerHandshake, AnAddressThatIsNoObjectIsNotRead) {
    EXPECT_EQ(Ended(Probe("error", "@0x10\n@zz\nq\n")), Outcome(0, kBoom, kMarker + "\n\n"));
}

TEST(DebuggerHandshake, QuestionMarkReadsTheNextCommand) {
    EXPECT_EQ(Ended(Probe("error", "?\n?\nq\n")), Outcome(0, kBoom, kMarker));
}

TEST(DebuggerHandshake, AnUnknownCommandIsEchoedAndFails) {
    EXPECT_EQ(Ended(Probe("error", "xyz\nq\n")),
              Outcome(kFailed, kBoom + "????? xyz ?????", kMarker));
}

// A command must end in a line feed within its first 256 bytes.
TEST(DebuggerHandshake, ACommandWithoutLineFeedFails) {
    EXPECT_EQ(Ended(Probe("error", "q")), Outcome(kFailed, kBoom, kMarker));
    EXPECT_EQ(Ended(Probe("error", std::string(300, 'q') + "\n")),
              Outcome(kFailed, kBoom, kMarker));
}

TEST(FatalSignal, ReportsTheSignalAsARuntimeError) {
    struct Case {
        const char* mode;
        const char* message;
    };
    for (Case c : {Case{"fpe", "Floating point exception"}, Case{"segv", "Memory access violation"},
                   Case{"ill", "Illegal instruction"}, Case{"other-signal", "Unknown signal"}}) {
        ProcessResult r = Probe(c.mode);
        EXPECT_EQ(r.exitCode, kFailed) << c.mode;
        EXPECT_EQ(r.out, "Pellix Runtime Error : " + std::string(c.message) + "\n\n") << c.mode;
        EXPECT_EQ(r.err.substr(0, kMarker.size()), kMarker) << c.mode;
    }
}

class Named : public Object {
public:
    String debug() override { return String("+Named\n"); }
};

// Feeds `commands` to standard input, then runs the handshake in this process.
void HandshakeWith(const std::string& commands) {
    int fds[2];
    if (pipe(fds) != 0) std::_Exit(2);
    if (write(fds[1], commands.data(), commands.size()) != ssize_t(commands.size())) std::_Exit(2);
    close(fds[1]);
    dup2(fds[0], 0);
    std::clearerr(stdin);
    dbg_stop();
    std::_Exit(1);
}

TEST(DebuggerHandshakeDeathTest, InspectingALiveObjectPrintsItsDebugText) {
    Object* named = new Named;
    char address[64];
    std::snprintf(address, sizeof address, "@%p\nq\n", static_cast<void*>(named));
    EXPECT_EXIT(HandshakeWith(address), ::testing::ExitedWithCode(0), "\\+Named");
}

TEST(StackTrace, EmptyWithoutASourcePosition) {
    EXPECT_TRUE(dbg_stacktrace().IsEmpty());
    dbg_info = "";
    EXPECT_TRUE(dbg_stacktrace().IsEmpty());
    dbg_info = "main.cpp<12>";
    EXPECT_EQ(dbg_stacktrace().ToUtf8(), "main.cpp<12>\n");
    dbg_info = nullptr;
}

}  // namespace
