// A small program that reports through the runtime in the way its first argument says,
// so tests can check output, exit codes and the debugger handshake of a whole process.
#include <csignal>
#include <cstdio>
#include <cstring>

#include "runtime/runtime.h"

namespace {

// The faults must reach the signal handler rather than the undefined-behaviour checker.
__attribute__((no_sanitize("integer-divide-by-zero"))) int Divide(int a, int b) { return a / b; }

__attribute__((no_sanitize("null"))) void WriteThrough(volatile int* p) { *p = 1; }

String Wide(const char16_t* text) {
    int n = 0;
    while (text[n]) ++n;
    return String(reinterpret_cast<const uint16_t*>(text), n);
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    qvInstallSignalHandlers();
    // Shows in the output whenever a way of ending runs the quit hook.
    qvSetQuitHook([] { qvPrint(String("quit hook")); });
    if (!std::strcmp(mode, "print")) {
        qvPrint(Wide(u"\u00e9"));
        qvPrint(Wide(u"\u263a"));
        qvDebugLog(String("log line"));
        qvPrint(String());
        dbg_print(Wide(u"to stderr \u0141"));
        return 0;
    }
    if (!std::strcmp(mode, "quit")) {
        qvPrint(String("before"));
        qvError(String());
    }
    if (!std::strcmp(mode, "error")) qvError(Wide(argc > 2 ? u"x\u0141" : u"boom"));
    if (!std::strcmp(mode, "fpe")) {
        // Both operands unknown: with a numerator of 1 the compiler replaces the division
        // by compares, and nothing traps.
        volatile int zero = 0, one = 1;
        std::printf("%d\n", Divide(one, zero));
    }
    if (!std::strcmp(mode, "segv")) {
        WriteThrough(nullptr);
    }
    if (!std::strcmp(mode, "ill")) __builtin_trap();
    if (!std::strcmp(mode, "other-signal")) sighandler(SIGUSR1);
    return 3;
}
