// Runtime errors as whole processes: printed lines, exit codes and the debugger handshake.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

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

TEST(ConsoleOutput, PrintsUtf8LinesAndLowBytesToStandardError) {
    ProcessResult r = Probe("print");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "\xC3\xA9\n\xE2\x98\xBA\nlog line\n\n");
    EXPECT_EQ(r.err, "to stderr A\n");
}

TEST(RuntimeError, AnEmptyMessageRunsTheQuitHookAndQuits) {
    ProcessResult r = Probe("quit");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "before\nquit hook\n");
    EXPECT_EQ(r.err, "");
}

TEST(RuntimeError, WithoutADebuggerTheProcessFails) {
    ProcessResult r = Probe("error");
    EXPECT_EQ(r.exitCode, kFailed);
    EXPECT_EQ(r.out, kBoom);
    EXPECT_EQ(r.err, kMarker);
}

TEST(RuntimeError, MessageCharactersAreCutToEightBits) {
    ProcessResult r = Probe("error", "", "wide");
    EXPECT_EQ(r.exitCode, kFailed);
    EXPECT_EQ(r.out, "Pellix Runtime Error : xA\n\n");
}

TEST(DebuggerHandshake, RunAndStepCommandsReportTheErrorAgain) {
    ProcessResult r = Probe("error", "r\ns\ne\nl\n");
    EXPECT_EQ(r.exitCode, kFailed) << "input ends after four commands";
    EXPECT_EQ(r.out, Repeat(kBoom, 5));
    EXPECT_EQ(r.err, Repeat(kMarker, 5));
}

TEST(DebuggerHandshake, QuitEndsWithSuccess) {
    ProcessResult r = Probe("error", "q\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, kBoom);
    EXPECT_EQ(r.err, kMarker);
}

TEST(DebuggerHandshake, InspectingNothingPrintsAnEmptyLine) {
    ProcessResult r = Probe("error", "@0\nq\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, kMarker + "\n");
}

TEST(DebuggerHandshake, AnAddressThatIsNoObjectIsNotRead) {
    ProcessResult r = Probe("error", "@0x10\n@zz\nq\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, kMarker + "\n\n");
}

TEST(DebuggerHandshake, QuestionMarkReadsTheNextCommand) {
    ProcessResult r = Probe("error", "?\n?\nq\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, kBoom);
    EXPECT_EQ(r.err, kMarker);
}

TEST(DebuggerHandshake, AnUnknownCommandIsEchoedAndFails) {
    ProcessResult r = Probe("error", "xyz\nq\n");
    EXPECT_EQ(r.exitCode, kFailed);
    EXPECT_EQ(r.out, kBoom + "????? xyz ?????");
}

TEST(DebuggerHandshake, ACommandWithoutLineFeedFails) {
    EXPECT_EQ(Probe("error", "q").exitCode, kFailed);
    ProcessResult tooLong = Probe("error", std::string(300, 'q') + "\n");
    EXPECT_EQ(tooLong.exitCode, kFailed) << "no line feed within the first 256 bytes";
    EXPECT_EQ(tooLong.out, kBoom);
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
