// The collector keeps what roots and barriers reach, frees the rest lazily, and collects
// fully once enough memory has been allocated.
#include <climits>
#include <thread>
#include <vector>

#include "tests/runtime/collector_fixture.h"

namespace {

Probe* g_root;
Probe* g_second_root;
Array<Probe*> g_array_root;

constexpr int kProbeBytes = (int(sizeof(Probe)) + 7) & ~7;

int SizeOf(const gc_object* p) { return p->flags & ~7; }

TEST_F(CollectorTest, NewBlocksAreWhiteOnTheUnmarkedList) {
    int64_t before = gc_alloc_count;
    Probe* p = new Probe;
    EXPECT_EQ(gc_alloc_count, before + 1);
    EXPECT_EQ(IndexOn(gc_unmarked_list, p), 0);
    EXPECT_EQ(p->flags & 3, gc_markbit);
    EXPECT_EQ(SizeOf(p), kProbeBytes);
    EXPECT_EQ(p->flags & 4, 0);
    EXPECT_EQ(gc_alloced_bytes, kProbeBytes);
    EXPECT_EQ(gc_new_bytes, kProbeBytes);
}

TEST_F(CollectorTest, BlockSizesAreRoundedToEightBytes) {
    Array<bool> flags(3);
    EXPECT_EQ(SizeOf(flags.Body()) % 8, 0);
    EXPECT_GE(SizeOf(flags.Body()), int(sizeof(Array<bool>::Rep)) + 3);
    EXPECT_LT(SizeOf(flags.Body()), int(sizeof(Array<bool>::Rep)) + 3 + 8);
}

TEST_F(CollectorTest, RootsKeepWhatTheyReachAndTheRestIsFreedLater) {
    gc_root(g_root);
    gc_assign(g_root, new Probe);
    gc_assign(g_root->link, new Probe);
    gc_assign(g_root->link->items, Array<Probe*>(2));
    Probe* element = new Probe;
    gc_assign(g_root->link->items[1], element);
    Probe* garbage = new Probe;
    garbage->link = new Probe;  // a store into a new white object needs no barrier

    gc_collect_all();
    for (gc_object* live :
         {static_cast<gc_object*>(g_root), static_cast<gc_object*>(g_root->link),
          static_cast<gc_object*>(g_root->link->items.Body()), static_cast<gc_object*>(element)}) {
        EXPECT_EQ(IndexOn(gc_free_list, live), -1);
        EXPECT_TRUE(IndexOn(gc_unmarked_list, live) >= 0 || IndexOn(gc_queued_list, live) >= 0);
    }
    EXPECT_EQ(IndexOn(gc_queued_list, g_root), 0) << "roots are queued for the next cycle";
    EXPECT_GE(IndexOn(gc_free_list, garbage), 0);
    EXPECT_GE(IndexOn(gc_free_list, garbage->link), 0);
    EXPECT_EQ(gc_free_bytes, 2 * kProbeBytes);
    EXPECT_EQ(g_probes_destroyed, 0) << "dead objects wait for later allocations";

    // Each allocation destroys about as many dead bytes as it asks for.
    Probe* reused = new Probe;
    EXPECT_EQ(g_probes_destroyed, 1);
    EXPECT_EQ(gc_free_bytes, kProbeBytes);
    EXPECT_EQ(static_cast<gc_object*>(reused), static_cast<gc_object*>(garbage))
        << "a small block comes back from the cache";
    new Probe;
    EXPECT_EQ(g_probes_destroyed, 2);
    EXPECT_EQ(gc_free_bytes, 0);
    EXPECT_EQ(CountOn(gc_free_list), 0);
    g_root = nullptr;
}

TEST_F(CollectorTest, LargeAllocationsDestroySeveralSmallDeadBlocks) {
    for (int i = 0; i < 10; ++i) new Probe;
    gc_collect_all();
    ASSERT_EQ(gc_free_bytes, 10 * kProbeBytes);
    Array<int> big(3 * kProbeBytes / 4);  // a little over three probes' worth
    EXPECT_EQ(g_probes_destroyed, 4);
    EXPECT_EQ(CountOn(gc_free_list), 6);
}

TEST_F(CollectorTest, StoringIntoABlackObjectThroughTheBarrierKeepsTheValue) {
    gc_root(g_root);
    gc_assign(g_root, new Probe);
    gc_collect_all();
    gc_mark_queued(INT_MAX);
    ASSERT_GE(IndexOn(gc_marked_list, g_root), 0) << "the root is black";

    Probe* kept = new Probe;
    gc_assign(g_root->link, kept);
    EXPECT_GE(IndexOn(gc_queued_list, kept), 0);
    gc_collect_all();
    EXPECT_GE(IndexOn(gc_unmarked_list, kept), 0);
    EXPECT_EQ(IndexOn(gc_free_list, kept), -1);

    // The same store without the barrier would lose the object.
    gc_mark_queued(INT_MAX);
    ASSERT_GE(IndexOn(gc_marked_list, g_root), 0);
    Probe* lost = new Probe;
    g_root->link = lost;
    gc_collect_all();
    EXPECT_GE(IndexOn(gc_free_list, lost), 0);
    g_root->link = nullptr;
    g_root = nullptr;
}

TEST_F(CollectorTest, TheBarrierQueuesWhiteValuesOnly) {
    Probe* holder = new Probe;
    Probe* value = new Probe;
    gc_assign(holder->link, value);
    EXPECT_EQ(holder->link, value);
    EXPECT_EQ(IndexOn(gc_queued_list, value), 0);
    int flags = value->flags;
    gc_assign(holder->link, value);  // already grey: nothing moves
    EXPECT_EQ(value->flags, flags);
    EXPECT_EQ(CountOn(gc_queued_list), 1);
    gc_assign(holder->link, static_cast<Probe*>(nullptr));
    EXPECT_EQ(holder->link, nullptr);
}

TEST_F(CollectorTest, RootsAreQueuedInRegistrationOrder) {
    gc_root(g_second_root);
    gc_root(g_array_root);
    gc_root(g_root);
    g_root = new Probe;
    g_second_root = new Probe;
    g_array_root = Array<Probe*>(1);
    gc_mark();
    EXPECT_EQ(IndexOn(gc_queued_list, g_second_root), 0);
    EXPECT_EQ(IndexOn(gc_queued_list, g_array_root.Body()), 1);
    EXPECT_EQ(IndexOn(gc_queued_list, g_root), 2);
    g_root = g_second_root = nullptr;
    g_array_root = Array<Probe*>();
}

TEST_F(CollectorTest, ObjectArraysMarkTheirElementsAtOnce) {
    gc_root(g_array_root);
    g_array_root = Array<Probe*>(3);
    Probe* a = new Probe;
    Probe* b = new Probe;
    gc_assign(g_array_root[0], a);
    gc_assign(g_array_root[2], b);
    gc_collect_all();
    gc_mark_queued(kProbeBytes);  // follows only the array body
    EXPECT_GE(IndexOn(gc_marked_list, g_array_root.Body()), 0);
    EXPECT_GE(IndexOn(gc_marked_list, a), 0);
    EXPECT_GE(IndexOn(gc_marked_list, b), 0);
    EXPECT_EQ(gc_marked_bytes, SizeOf(g_array_root.Body()) + 2 * kProbeBytes);
    g_array_root = Array<Probe*>();
}

TEST_F(CollectorTest, NumberAndStringArraysHoldNoReferences) {
    Array<int> numbers(4);
    Array<float> floats(2);
    Array<bool> bools(5);
    Array<String> strings(3);
    Array<Probe*> refs(2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(numbers[i], 0);
    EXPECT_EQ(floats[1], 0.0f);
    EXPECT_FALSE(bools[4]);
    EXPECT_TRUE(strings[2].IsEmpty());
    EXPECT_EQ(refs[0], nullptr);
    EXPECT_EQ(sizeof(bools[0]), 1u);

    // A string element outlives the array it was stored in; the array released its share.
    String kept = String("sha") + String("red");
    strings[1] = kept;
    strings = Array<String>();
    gc_collect_all();
    gc_destroy_free();
    EXPECT_EQ(kept.ToUtf8(), "shared");
}

TEST_F(CollectorTest, EmptyArrayBodiesAreNeverListedOrFreed) {
    gc_root(g_root);
    gc_assign(g_root, new Probe);
    Array<Probe*> empty(0);
    Array<int> emptyInts(-3);
    EXPECT_EQ(empty.Body(), &Array<Probe*>::Rep::nullRep);
    EXPECT_EQ(emptyInts.Body(), &Array<int>::Rep::nullRep);
    gc_assign(g_root->items, empty);
    gc_mark_q(emptyInts);
    gc_mark_now(empty.Body());
    for (int i = 0; i < 3; ++i) {
        gc_collect_all();
        gc_mark_queued(INT_MAX);
    }
    g_root = nullptr;
    ReleaseEverything();
    for (gc_object* body : {static_cast<gc_object*>(&Array<Probe*>::Rep::nullRep),
                            static_cast<gc_object*>(&Array<int>::Rep::nullRep)}) {
        EXPECT_EQ(body->flags, GC_STATIC_FLAGS);
        EXPECT_EQ(body->succ, body);
        EXPECT_EQ(body->pred, body);
    }
    EXPECT_EQ(Array<int>::Rep::nullRep.length, 0);
    EXPECT_EQ(Array<int>(0).Length(), 0);
}

TEST_F(CollectorTest, ObjectsMadeOutsideTheCollectorAreLeftAlone) {
    Probe onStack;
    EXPECT_EQ(onStack.flags, GC_STATIC_FLAGS);
    gc_mark_q(&onStack);
    EXPECT_EQ(CountOn(gc_queued_list), 0);
    EXPECT_EQ(gc_alloced_bytes, 0);
}

TEST_F(CollectorTest, RestartingTheListsDetachesEarlierBlocksSafely) {
    Probe* early = new Probe;
    Probe* dead = new Probe;
    Probe* survivor = new Probe;
    gc_assign(early->link, survivor);  // queued by the barrier, so it outlives this cycle
    gc_collect_all();
    ASSERT_GE(IndexOn(gc_free_list, dead), 0);
    ASSERT_GE(IndexOn(gc_unmarked_list, survivor), 0);
    gc_init_lists();
    EXPECT_EQ(g_probes_destroyed, 2) << "dead blocks are destroyed, not forgotten";
    EXPECT_EQ(survivor->flags & 3, GC_STATIC_FLAGS);
    EXPECT_EQ(survivor->flags & ~7, kProbeBytes);

    gc_mark_q(survivor);
    gc_mark_now(survivor);
    EXPECT_EQ(CountOn(gc_queued_list) + CountOn(gc_marked_list) + CountOn(gc_unmarked_list), 0);
    Probe* after = new Probe;
    EXPECT_EQ(IndexOn(gc_unmarked_list, after), 0);
    EXPECT_EQ(gc_alloced_bytes, kProbeBytes);
    delete survivor;  // a detached block can still be given back
    EXPECT_EQ(g_probes_destroyed, 3);
    EXPECT_EQ(gc_alloced_bytes, kProbeBytes);
    EXPECT_EQ(IndexOn(gc_unmarked_list, after), 0);
}

TEST_F(CollectorTest, EightMegabytesOfAllocationTriggerAFullCollection) {
    const int elements = 64 * 1024;  // 256 KiB per array
    int before = gc_markbit;
    int flips = 0;
    int64_t allocated = 0;
    while (allocated <= GC_FULL_COLLECT_BYTES) {
        Array<int> garbage(elements);
        allocated += SizeOf(garbage.Body());
        int markbit = gc_markbit;
        gc_collect();
        if (gc_markbit != markbit) ++flips;
        if (allocated <= GC_FULL_COLLECT_BYTES) {
            EXPECT_EQ(gc_markbit, before) << "no full collection below the threshold";
        }
    }
    EXPECT_EQ(flips, 1);
    EXPECT_EQ(gc_new_bytes, 0);
    EXPECT_EQ(gc_alloced_bytes, 0);
    EXPECT_GE(gc_free_bytes, GC_FULL_COLLECT_BYTES);
}

TEST_F(CollectorTest, ExternalMemoryCountsTowardsTheFullCollection) {
    new Probe;
    gc_ext_malloced(4 * 1024 * 1024);
    gc_collect();
    EXPECT_EQ(CountOn(gc_free_list), 0) << "below the threshold only marking steps run";
    gc_ext_malloced(5 * 1024 * 1024);
    int markbit = gc_markbit;
    gc_collect();
    EXPECT_NE(gc_markbit, markbit);
    EXPECT_EQ(gc_ext_new_bytes.load(), 0);
    EXPECT_EQ(CountOn(gc_free_list), 1);
}

TEST_F(CollectorTest, ExternalMemoryIsCountedFromManyThreads) {
    std::vector<std::thread> loaders;
    for (int t = 0; t < 4; ++t) {
        loaders.emplace_back([] {
            for (int i = 0; i < 1000; ++i) gc_ext_malloced(3);
        });
    }
    for (std::thread& loader : loaders) loader.join();
    EXPECT_EQ(gc_ext_new_bytes.load(), 12000);
}

TEST_F(CollectorTest, MarkingIsSpreadOverStepsByAllocation) {
    gc_root(g_root);
    gc_assign(g_root, new Probe);
    Probe* tail = g_root;
    for (int i = 0; i < 50; ++i) {
        gc_assign(tail->link, new Probe);
        tail = tail->link;
    }
    gc_collect_all();
    ASSERT_EQ(CountOn(gc_queued_list), 1);

    for (int i = 0; i < 4; ++i) new Probe;
    gc_collect();
    // About as many bytes are marked as were allocated: four probes, not the whole chain.
    EXPECT_GE(gc_marked_bytes, 4 * kProbeBytes);
    EXPECT_LE(gc_marked_bytes, 5 * kProbeBytes);
    EXPECT_EQ(CountOn(gc_queued_list), 1);

    // Steps with no new allocation since the last step still progress with the total.
    for (int i = 0; i < 60; ++i) {
        new Probe;
        gc_collect();
    }
    EXPECT_EQ(CountOn(gc_queued_list), 0);
    EXPECT_EQ(CountOn(gc_marked_list), 51);
    g_root = nullptr;
}

TEST_F(CollectorTest, AllocatedBytesGrowUntilAFullCollectionLeavesTheSurvivors) {
    gc_root(g_root);
    gc_assign(g_root, new Probe);
    int last = gc_alloced_bytes;
    for (int i = 0; i < 20; ++i) {
        Probe* p = new Probe;
        if (i % 2) {
            gc_assign(g_root->link, p);  // replaces the previous link
        } else {
            gc_assign(p->items, Array<Probe*>(i + 1));
        }
        gc_collect();
        EXPECT_GE(gc_alloced_bytes, last);
        last = gc_alloced_bytes;
    }
    gc_collect_all();
    // Survivors are white again; the roots are already queued for the next cycle.
    EXPECT_EQ(gc_alloced_bytes, BytesOn(gc_unmarked_list) + BytesOn(gc_queued_list));
    // Links replaced during the cycle were queued by the barrier and lived one cycle more.
    gc_collect_all();
    EXPECT_EQ(gc_alloced_bytes, 2 * kProbeBytes);
    EXPECT_EQ(BytesOn(gc_unmarked_list) + BytesOn(gc_queued_list), 2 * kProbeBytes);
    g_root = nullptr;
}

TEST_F(CollectorTest, SweepWithNothingMarkedEmptiesTheUnmarkedList) {
    for (int i = 0; i < 3; ++i) new Probe;
    gc_collect_all();
    EXPECT_EQ(CountOn(gc_unmarked_list), 0);
    EXPECT_EQ(CountOn(gc_free_list), 3);
    EXPECT_EQ(gc_alloced_bytes, 0);
}

}  // namespace
