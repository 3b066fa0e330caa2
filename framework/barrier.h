// Stores into fields and array elements of generic containers: object references and
// arrays go through the collector's write barrier, plain values are copied.
#pragma once

#include <type_traits>

#include "runtime/runtime.h"

template <class T>
struct qv_is_array : std::false_type {};
template <class T>
struct qv_is_array<Array<T>> : std::true_type {};

template <class T>
inline void qv_store(T& dst, const T& src) {
    if constexpr (std::is_pointer<T>::value || qv_is_array<T>::value) {
        gc_assign(dst, src);
    } else {
        dst = src;
    }
}

// Queues a value held by a generic container (objects and arrays only).
template <class T>
inline void qv_mark_value(const T& value) {
    if constexpr (std::is_pointer<T>::value || qv_is_array<T>::value) gc_mark_q(value);
}
