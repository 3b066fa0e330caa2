// Console output, fatal runtime errors and the debugger handshake on the standard streams.
#pragma once

#include "runtime/string.h"

void qvPrint(const String& text);     // UTF-8 line to standard output, flushed
void qvDebugLog(const String& text);  // same as qvPrint
// Empty message: the quit hook, then exit 0 (the ordinary way to quit). Otherwise a fatal
// runtime error.
[[noreturn]] void qvError(const String& message);
// The quit hook runs at every ordinary quit, while the process is still whole, so devices
// can close. Fatal runtime errors and signals skip it: they may strike inside a device.
// One hook; setting another replaces it.
void qvSetQuitHook(void (*hook)());
void qvRunQuitHook();
[[noreturn]] void dbg_error(const char* message);
String dbg_stacktrace();
int dbg_stop();
void qvDebugStop();
void dbg_print(const String& text);  // low 8 bits of each character to standard error
void sighandler(int signal);
// Installs sighandler for SIGSEGV, SIGILL and SIGFPE.
void qvInstallSignalHandlers();

extern const char* dbg_info;
extern int dbg_suspend;
extern int dbg_stepmode;
