#include "tests/runtime/collector_fixture.h"

int g_probes_destroyed = 0;

int IndexOn(const gc_object& list, const gc_object* p) {
    int i = 0;
    for (const gc_object* q = list.succ; q != &list; q = q->succ, ++i) {
        if (q == p) return i;
    }
    return -1;
}

int CountOn(const gc_object& list) {
    int n = 0;
    for (const gc_object* q = list.succ; q != &list; q = q->succ) ++n;
    return n;
}

int BytesOn(const gc_object& list) {
    int bytes = 0;
    for (const gc_object* q = list.succ; q != &list; q = q->succ) bytes += q->flags & ~7;
    return bytes;
}

void CollectorTest::ReleaseEverything() {
    gc_clear_roots();
    gc_collect_all();
    gc_collect_all();
    gc_destroy_free();
}

void CollectorTest::SetUp() {
    ReleaseEverything();
    gc_init_lists();
    g_probes_destroyed = 0;
}

void CollectorTest::TearDown() {
    ReleaseEverything();
    EXPECT_EQ(CountOn(gc_unmarked_list) + CountOn(gc_queued_list) + CountOn(gc_marked_list) +
                  CountOn(gc_free_list),
              0);
}
