// Object: the base of every class of the framework, the drivers and the game.
#pragma once

#include "runtime/array.h"
#include "runtime/collector.h"
#include "runtime/string.h"

class Object : public gc_object {
public:
    virtual bool Equals(Object* other);  // identity
    virtual int Compare(Object* other);  // address difference
    virtual String debug();              // "+Object\n"
};

// Base of objects the application may throw; the host reports them as uncaught.
class ThrowableObject : public Object {};
