// References to interfaces. An interface is a plain abstract class; the collected object
// behind a reference is found by a cross-cast, so callers of the write barrier and mark()
// need nothing from the classes that implement it.
#pragma once

#include "runtime/collector.h"

template <class I>
gc_object* gc_interface_object(I* ref) {
    return ref ? dynamic_cast<gc_object*>(ref) : nullptr;
}

// Marks (queues) the object behind an interface reference.
template <class I>
void gc_mark_interface(I* ref) {
    if (gc_object* object = gc_interface_object(ref)) gc_mark_q(object);
}

// Write barrier for a field, array element or global of interface type.
template <class I, class U>
U* gc_assign_interface(I*& dst, U* src) {
    gc_mark_interface<I>(src);
    dst = src;
    return src;
}
