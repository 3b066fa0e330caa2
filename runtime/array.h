// Fixed-length typed arrays whose bodies are collected blocks.
// Each element type has one static empty body that the collector never touches.
#pragma once

#include <cstring>
#include <new>
#include <type_traits>

#include "runtime/collector.h"
#include "runtime/string.h"

template <class T>
struct gc_array_traits {
    static constexpr bool is_object = std::is_pointer<T>::value;
};

template <class T>
class Array {
public:
    struct Rep : public gc_object {
        int length;
        constexpr Rep() : gc_object(gc_static), length(0) {}
        explicit Rep(int n) : length(n) {}
        T* data() { return reinterpret_cast<T*>(this + 1); }
        ~Rep() override {
            for (int i = 0; i < length; ++i) data()[i].~T();
        }
        void mark() override {
            if constexpr (gc_array_traits<T>::is_object) {
                for (int i = 0; i < length; ++i) {
                    if (data()[i]) gc_mark_now(data()[i]);
                }
            }
        }
        static Rep nullRep;
    };
    static_assert(sizeof(Rep) % alignof(T) == 0, "elements follow the header");

    Array() : rep_(&Rep::nullRep) {}
    // A zero-filled array: numbers 0, bools false, references null, strings empty.
    explicit Array(int length) : rep_(length > 0 ? Create(length) : &Rep::nullRep) {}
    Array(const T* source, int length) : Array(length) {
        for (int i = 0; i < length; ++i) rep_->data()[i] = source[i];
    }

    int Length() const { return rep_->length; }
    T& operator[](int index) const { return rep_->data()[index]; }
    T* Data() const { return rep_->data(); }
    Rep* Body() const { return rep_; }
    bool operator==(const Array& other) const { return rep_ == other.rep_; }
    bool operator!=(const Array& other) const { return rep_ != other.rep_; }

    // A new array of `length` elements holding this one's first elements (growth by copy).
    Array Resize(int length) const {
        Array grown(length);
        int n = length < Length() ? length : Length();
        for (int i = 0; i < n; ++i) grown.rep_->data()[i] = rep_->data()[i];
        return grown;
    }

private:
    static Rep* Create(int length) {
        void* block = gc_object_alloc(int(sizeof(Rep) + sizeof(T) * length));
        Rep* rep = new (block) Rep(length);
        T* data = rep->data();
        for (int i = 0; i < length; ++i) new (&data[i]) T();
        return rep;
    }
    Rep* rep_;
};

template <class T>
typename Array<T>::Rep Array<T>::Rep::nullRep;

// Marks an array body (queues it); the empty bodies are static and never queued.
template <class T>
inline void gc_mark_q(const Array<T>& array) {
    gc_mark_q(array.Body());
}

// Write barrier for storing an array into a field or module global.
template <class T>
inline const Array<T>& gc_assign(Array<T>& dst, const Array<T>& src) {
    gc_mark_q(src.Body());
    dst = src;
    return src;
}

template <class T>
void gc_root(Array<T>& global) {
    gc_add_root(&global, [](void* slot) { gc_mark_q(static_cast<Array<T>*>(slot)->Body()); });
}
