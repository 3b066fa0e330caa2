// Console output, fatal runtime errors, fatal signals and the debugger handshake.
#include "runtime/errors.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/object.h"

const char* dbg_info = nullptr;
int dbg_suspend = 0;
int dbg_stepmode = 0;

namespace {

void (*quitHook)() = nullptr;

constexpr int kCommandBytes = 256;

// True when `address` is a live collected block, so a debugger cannot make us read
// arbitrary memory.
bool IsLiveObject(const void* address) {
    for (gc_object* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list}) {
        for (gc_object* p = list->succ; p != list; p = p->succ) {
            if (p == address) return true;
        }
    }
    return false;
}

void PrintObject(const char* text) {
    void* address = nullptr;
    if (std::sscanf(text, "%p", &address) != 1 || !address || !IsLiveObject(address)) {
        dbg_print(String());
        return;
    }
    Object* object = dynamic_cast<Object*>(static_cast<gc_object*>(address));
    dbg_print(object ? object->debug() : String());
}

}  // namespace

void qvPrint(const String& text) {
    static std::vector<char> buffer;
    std::string bytes = text.ToUtf8();
    buffer.assign(bytes.begin(), bytes.end());
    buffer.push_back('\n');
    std::fwrite(buffer.data(), 1, buffer.size(), stdout);
    std::fflush(stdout);
}

void qvDebugLog(const String& text) { qvPrint(text); }

void qvError(const String& message) {
    if (message.IsEmpty()) {
        qvRunQuitHook();
        std::exit(0);
    }
    dbg_error(message.ToCString().c_str());
}

void qvSetQuitHook(void (*hook)()) { quitHook = hook; }

void qvRunQuitHook() {
    if (quitHook) quitHook();
}

void dbg_error(const char* message) {
    for (;;) {
        qvPrint("Pellix Runtime Error : " + String(message));
        qvPrint(dbg_stacktrace());
        dbg_stop();
    }
}

String dbg_stacktrace() {
    if (!dbg_info || !*dbg_info) return String();
    return String(dbg_info) + String("\n");
}

int dbg_stop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", dbg_info ? dbg_info : "(null)");
    dbg_print(String());
    for (;;) {
        char line[kCommandBytes + 1];
        if (!std::fgets(line, sizeof line, stdin)) std::exit(-1);
        char* feed = std::strchr(line, '\n');
        if (!feed) std::exit(-1);
        *feed = 0;
        switch (line[0]) {
            case 'r':
                dbg_suspend = 0;
                dbg_stepmode = 0;
                return 0;
            case 's':
            case 'e':
                dbg_suspend = 1;
                dbg_stepmode = line[0];
                return 0;
            case 'l':
                dbg_suspend = 0;
                dbg_stepmode = 'l';
                return 0;
            case 'q': std::exit(0);
            case '@': PrintObject(line + 1); break;
            case '?': break;
            default:
                std::printf("????? %s ?????", line);
                std::fflush(stdout);
                std::exit(-1);
        }
    }
}

void qvDebugStop() { dbg_stop(); }

void dbg_print(const String& text) {
    static std::vector<char> buffer;
    size_t needed = size_t(text.Length()) + 99;
    if (needed > buffer.size()) buffer.resize(size_t(text.Length()) + 100);
    int n = text.Length();
    for (int i = 0; i < n; ++i) buffer[size_t(i)] = char(text[i] & 0xFF);
    buffer[size_t(n)] = '\n';
    std::fwrite(buffer.data(), 1, size_t(n) + 1, stderr);
    std::fflush(stderr);
}

void sighandler(int signal) {
    const char* message = "Unknown signal";
    switch (signal) {
        case SIGSEGV: message = "Memory access violation"; break;
        case SIGILL: message = "Illegal instruction"; break;
        case SIGFPE: message = "Floating point exception"; break;
    }
    dbg_error(message);
}

void qvInstallSignalHandlers() {
    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);
}
