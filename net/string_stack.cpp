#include "net/string_stack.h"

String c_Stack2::m_NIL;

c_Stack2* c_Stack2::m_new() { return this; }

c_Stack2* c_Stack2::m_new2(const Array<String>& data) {
    gc_assign(m_data, data.Resize(data.Length()));
    m_length = data.Length();
    return this;
}

void c_Stack2::mark() { gc_mark_q(m_data); }

void c_Stack2::Reserve(int length) {
    if (length <= m_data.Length()) return;
    int grown = m_data.Length() * 2 + 10;
    gc_assign(m_data, m_data.Resize(grown > length ? grown : length));
}

int c_Stack2::p_Push4(const String& value) {
    Reserve(m_length + 1);
    m_data[m_length++] = value;
    return 0;
}

int c_Stack2::p_Push5(const Array<String>& values, int offset, int count) {
    if (offset < 0) offset = 0;
    for (int i = offset; i < offset + count && i < values.Length(); ++i) p_Push4(values[i]);
    return 0;
}

int c_Stack2::p_Push6(const Array<String>& values, int offset) {
    return p_Push5(values, offset, values.Length() - offset);
}

Array<String> c_Stack2::p_ToArray() { return m_data.Resize(m_length); }

int c_Stack2::p_Clear() {
    for (int i = 0; i < m_length; ++i) m_data[i] = m_NIL;
    m_length = 0;
    return 0;
}

int c_Stack2::p_Length(int length) {
    if (length < 0) length = 0;
    for (int i = length; i < m_length; ++i) m_data[i] = m_NIL;
    Reserve(length);
    for (int i = m_length; i < length; ++i) m_data[i] = m_NIL;
    m_length = length;
    return 0;
}

String c_Stack2::p_Get(int index) const {
    return index >= 0 && index < m_length ? m_data[index] : m_NIL;
}

c_StringStack* c_StringStack::m_new(const Array<String>& data) {
    c_Stack2::m_new2(data);
    return this;
}

c_StringStack* c_StringStack::m_new2() {
    c_Stack2::m_new();
    return this;
}

String c_StringStack::p_Join(const String& separator) {
    if (m_length == 0) return String();
    if (m_length == 1) return m_data[0];
    return separator.Join(p_ToArray());
}
