// A clean collector for each test, and a small object type whose deaths can be counted.
#pragma once

#include <gtest/gtest.h>

#include "runtime/runtime.h"

extern int g_probes_destroyed;

class Probe : public Object {
public:
    Probe* link = nullptr;
    Array<Probe*> items;
    ~Probe() override { ++g_probes_destroyed; }
    void mark() override {
        gc_mark_q(link);
        gc_mark_q(items);
    }
};

// Position of `p` on `list`, or -1.
int IndexOn(const gc_object& list, const gc_object* p);
int CountOn(const gc_object& list);
// Sum of the sizes of the blocks on `list`.
int BytesOn(const gc_object& list);

class CollectorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Frees every block the test made: no roots, two full collections, no lazy leftovers.
    static void ReleaseEverything();
};
