#include "net/async_queue.h"

#include "net/socket.h"

c_AsyncQueue* c_AsyncQueue::m_new(c_Socket* socket) {
    c_Thread::m_new();
    gc_assign(m_socket, socket);
    return this;
}

c_AsyncQueue* c_AsyncQueue::m_new2() {
    c_Thread::m_new();
    return this;
}

void c_AsyncQueue::mark() {
    c_Thread::mark();
    gc_mark_q(m_socket);
    gc_mark_q(m_queue);
}

namespace {

int Next(int index) { return (index + 1) % c_AsyncQueue::kCapacity; }

}  // namespace

int c_AsyncQueue::p_Enqueue(c_AsyncOp* op) {
    int put = m_putIndex.load(std::memory_order_relaxed);
    if (Next(put) == m_doneIndex) qvError("AsyncQueue queue overflow!");
    gc_assign(m_queue[put], op);
    m_putIndex.store(Next(put), std::memory_order_release);
    Start();
    return 0;
}

int c_AsyncQueue::Run__UNSAFE__() {
    int run = m_runIndex.load(std::memory_order_relaxed);
    while (run != m_putIndex.load(std::memory_order_acquire)) {
        m_queue[run]->p_Execute__UNSAFE__(m_socket);
        run = Next(run);
        m_runIndex.store(run, std::memory_order_release);
    }
    return 0;
}

int c_AsyncQueue::p_UpdateAsyncEvents() {
    if (p_Busy()) Start();
    while (m_doneIndex != m_runIndex.load(std::memory_order_acquire)) {
        c_AsyncOp* op = m_queue[m_doneIndex];
        m_doneIndex = Next(m_doneIndex);
        op->p_Complete(m_socket);
    }
    return 0;
}

bool c_AsyncQueue::p_Busy() const {
    return m_runIndex.load(std::memory_order_acquire) != m_putIndex.load(std::memory_order_relaxed);
}
