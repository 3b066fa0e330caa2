// Native threads: each Start runs Run__UNSAFE__ once on a new detached thread.
#pragma once

#include <atomic>

#include "runtime/runtime.h"

class QvThread : public Object {
public:
    void mark() override;

    // No effect while running; otherwise clears the result and starts a new thread.
    // A thread that cannot be created ends the process ("CreateThread failed!").
    virtual int Start();
    virtual bool IsRunning();
    virtual Object* Result();
    virtual int SetResult(Object* result);
    // The thread's body; must allocate no collected objects.
    virtual int Run__UNSAFE__();

    // A private copy of the characters, so a worker never shares a string body (whose
    // reference count is not atomic) with the main thread.
    static String Strdup(const String& text);

private:
    static void run(QvThread* thread);

    enum { kNeverStarted = 0, kRunning = 1, kFinished = 2 };
    // Written by the worker when it ends, read by the main thread.
    std::atomic<int> state{kNeverStarted};
    // Set from either side; published to the main thread by the release of `state`.
    std::atomic<Object*> result{nullptr};
};

class c_Thread : public QvThread {
public:
    c_Thread* m_new();
};
