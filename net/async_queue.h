// A ring of socket operations executed in order by one worker thread at a time and
// completed in the same order on the main thread by the event pump.
#pragma once

#include <atomic>

#include "net/async_event.h"
#include "net/async_ops.h"
#include "net/thread.h"

class c_AsyncQueue : public c_Thread, public c_IAsyncEventSource {
public:
    static constexpr int kCapacity = 256;

    c_AsyncQueue* m_new(c_Socket* socket);
    c_AsyncQueue* m_new2();
    void mark() override;

    // Main thread. Raises "AsyncQueue queue overflow!" when 255 operations are outstanding
    // (enqueued and not yet completed) already.
    int p_Enqueue(c_AsyncOp* op);
    // Main thread: restarts a worker that missed late work and completes executed operations.
    int p_UpdateAsyncEvents() override;
    int Run__UNSAFE__() override;

    // Main thread: true while an operation waits for execution or is executing.
    bool p_Busy() const;

private:
    c_Socket* m_socket = nullptr;
    Array<c_AsyncOp*> m_queue{kCapacity};
    // Written by the main thread after the slot is filled; read by the worker.
    std::atomic<int> m_putIndex{0};
    // Main thread only.
    int m_doneIndex = 0;
    // Written by the worker after the operation executed; read by the main thread.
    std::atomic<int> m_runIndex{0};
};
