// The object base: identity equality, address ordering and a debug text.
#include "runtime/object.h"

#include <cstdint>

bool Object::Equals(Object* other) { return this == other; }

// The sign of the address difference: a 64-bit difference cut to an int could flip sign.
int Object::Compare(Object* other) {
    if (this == other) return 0;
    return reinterpret_cast<uintptr_t>(this) < reinterpret_cast<uintptr_t>(other) ? -1 : 1;
}

String Object::debug() { return String("+Object\n"); }
