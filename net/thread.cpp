#include "net/thread.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <thread>

void QvThread::mark() { gc_mark_q(result.load(std::memory_order_acquire)); }

int QvThread::Start() {
    if (state.load(std::memory_order_acquire) == kRunning) return 0;
    result.store(nullptr, std::memory_order_relaxed);
    state.store(kRunning, std::memory_order_release);
    try {
        std::thread(run, this).detach();
    } catch (const std::system_error&) {
        std::fputs("CreateThread failed!\n", stdout);
        std::fflush(stdout);
        std::exit(-1);
    }
    return 0;
}

void QvThread::run(QvThread* thread) {
    thread->Run__UNSAFE__();
    // The last touch of the object: after this the main thread may start a new run.
    thread->state.store(kFinished, std::memory_order_release);
}

bool QvThread::IsRunning() { return state.load(std::memory_order_acquire) == kRunning; }

Object* QvThread::Result() { return result.load(std::memory_order_acquire); }

// May run on the worker, which must not touch the collector: no write barrier here, so the
// result has to be reachable from elsewhere until it is read (a loader's own buffer is).
int QvThread::SetResult(Object* value) {
    result.store(value, std::memory_order_release);
    return 0;
}

int QvThread::Run__UNSAFE__() { return 0; }

String QvThread::Strdup(const String& text) { return String(text.Data(), text.Length()); }

c_Thread* c_Thread::m_new() { return this; }
