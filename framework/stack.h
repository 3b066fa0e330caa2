// A growable stack of values (objects, arrays, strings or numbers).
#pragma once

#include "framework/barrier.h"

template <class T>
class c_Stack : public Object {
public:
    Array<T> m_data;
    int m_length = 0;

    c_Stack* m_new() { return this; }
    // Starts with a copy of `data`.
    c_Stack* m_new2(Array<T> data) {
        gc_assign(m_data, data.Resize(data.Length()));
        m_length = data.Length();
        return this;
    }
    void p_Push(T value) {
        if (m_length == m_data.Length()) gc_assign(m_data, m_data.Resize(m_length * 2 + 10));
        qv_store(m_data[m_length], value);
        ++m_length;
    }
    void p_Push2(Array<T> values, int offset, int count) {
        for (int i = 0; i < count; ++i) p_Push(values[offset + i]);
    }
    void p_Push3(Array<T> values, int offset) { p_Push2(values, offset, values.Length() - offset); }
    int p_Length() const { return m_length; }
    // A new array of exactly the held elements (the shared empty array when none).
    Array<T> p_ToArray() { return m_data.Resize(m_length); }
    void mark() override { gc_mark_q(m_data); }
};
