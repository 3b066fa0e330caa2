#include "net/async_event.h"

#include "net/interface_ref.h"

c_IAsyncEventSource* c_Stack3::m_NIL = nullptr;
c_Stack3* qv_asyncevent__sources = nullptr;
c_IAsyncEventSource* qv_asyncevent__current = nullptr;

c_Stack3* c_Stack3::m_new() { return this; }

void c_Stack3::mark() {
    gc_mark_q(m_data);
    for (int i = 0; i < m_length; ++i) gc_mark_interface(m_data[i]);
}

int c_Stack3::p_Push(c_IAsyncEventSource* value) {
    if (m_length == m_data.Length()) gc_assign(m_data, m_data.Resize(m_length * 2 + 10));
    gc_assign_interface(m_data[m_length], value);
    ++m_length;
    return 0;
}

bool c_Stack3::p_Contains(c_IAsyncEventSource* value) const {
    for (int i = 0; i < m_length; ++i) {
        if (m_data[i] == value) return true;
    }
    return false;
}

namespace {

void MarkCurrentSource(void* slot) { gc_mark_interface(*static_cast<c_IAsyncEventSource**>(slot)); }

}  // namespace

void qv_asyncevent_Init() {
    gc_assign(qv_asyncevent__sources, (new c_Stack3)->m_new());
    qv_asyncevent__current = nullptr;
    gc_root(qv_asyncevent__sources);
    gc_add_root(&qv_asyncevent__current, MarkCurrentSource);
}

int qv_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source) {
    if (!qv_asyncevent__sources) qv_asyncevent_Init();
    if (qv_asyncevent__sources->p_Contains(source)) qvError("Async event source is already active");
    qv_asyncevent__sources->p_Push(source);
    return 0;
}

int qv_asyncevent_UpdateAsyncEvents() {
    if (qv_asyncevent__current || !qv_asyncevent__sources) return 0;
    // Sources registered by a callback during this pass are updated in the same pass.
    for (int i = 0; i < qv_asyncevent__sources->p_Length(); ++i) {
        gc_assign_interface(qv_asyncevent__current, qv_asyncevent__sources->p_Get(i));
        qv_asyncevent__current->p_UpdateAsyncEvents();
    }
    qv_asyncevent__current = nullptr;
    return 0;
}
