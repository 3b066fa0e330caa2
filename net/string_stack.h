// Growable stacks of strings.
#pragma once

#include "runtime/runtime.h"

class c_Stack2 : public Object {
public:
    static String m_NIL;

    c_Stack2* m_new();
    // A stack holding a copy of the array.
    c_Stack2* m_new2(const Array<String>& data);
    void mark() override;

    int p_Push4(const String& value);
    int p_Push5(const Array<String>& values, int offset, int count);
    int p_Push6(const Array<String>& values, int offset);
    Array<String> p_ToArray();
    int p_Clear();
    // Shrinking drops entries; growing fills with NIL.
    int p_Length(int length);
    int p_Length2() const { return m_length; }
    // NIL outside the stack.
    String p_Get(int index) const;

protected:
    Array<String> m_data;
    int m_length = 0;

private:
    void Reserve(int length);
};

class c_StringStack : public c_Stack2 {
public:
    c_StringStack* m_new(const Array<String>& data);
    c_StringStack* m_new2();
    // The entries with the separator between them.
    String p_Join(const String& separator);
};
