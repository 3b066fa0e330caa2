// Tests that make collected objects start and end with an empty collector, so nothing
// one test made outlives it (or shows up as a leak at exit).
#pragma once

#include "runtime/runtime.h"

// Frees every collected block: no roots, two full collections, no lazy leftovers.
inline void ReleaseCollectedObjects() {
    gc_clear_roots();
    gc_collect_all();
    gc_collect_all();
    gc_destroy_free();
}
