// The list of asynchronous event sources and the per-frame pump that lets each one deliver
// its finished work on the main thread.
#pragma once

#include "runtime/runtime.h"

class c_IAsyncEventSource {
public:
    virtual ~c_IAsyncEventSource() {}
    virtual int p_UpdateAsyncEvents() = 0;
};

// Elements are interface references: the stack marks the objects behind them itself.
template <>
struct gc_array_traits<c_IAsyncEventSource*> {
    static constexpr bool is_object = false;
};

// Growable stack of event sources.
class c_Stack3 : public Object {
public:
    static c_IAsyncEventSource* m_NIL;

    c_Stack3* m_new();
    void mark() override;
    int p_Push(c_IAsyncEventSource* value);
    bool p_Contains(c_IAsyncEventSource* value) const;
    int p_Length() const { return m_length; }
    c_IAsyncEventSource* p_Get(int index) const { return m_data[index]; }

private:
    Array<c_IAsyncEventSource*> m_data;
    int m_length = 0;
};

extern c_Stack3* qv_asyncevent__sources;
extern c_IAsyncEventSource* qv_asyncevent__current;

// Gives the module globals their start values and registers them as collector roots.
// Called by the module initialiser; the first registration also does it when needed.
void qv_asyncevent_Init();
// Raises "Async event source is already active" for a source registered before.
int qv_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source);
// Updates every source in order of registration. A call from inside a callback does nothing.
int qv_asyncevent_UpdateAsyncEvents();
