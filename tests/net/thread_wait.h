// Waits on the test's (main) thread for a worker thread to finish its run.
#pragma once

#include "net/thread.h"
#include "tests/support/process.h"

// True when the thread stopped running within ten seconds.
inline bool WaitStopped(QvThread* thread) {
    return PollUntil([thread] { return !thread->IsRunning(); }, 10.0, 0.001);
}
