// The object base: identity, ordering, debug text, and objects whose collector header is
// not at the start of their block or whose constructor fails.
#include <stdexcept>

#include "tests/runtime/collector_fixture.h"

namespace {

TEST_F(CollectorTest, ObjectEqualityIsIdentity) {
    Object* a = new Object;
    Object* b = new Object;
    EXPECT_TRUE(a->Equals(a));
    EXPECT_FALSE(a->Equals(b));
    EXPECT_FALSE(a->Equals(nullptr));
}

TEST_F(CollectorTest, ObjectOrderFollowsAddresses) {
    Object* a = new Object;
    Object* b = new Object;
    EXPECT_EQ(a->Compare(a), 0);
    EXPECT_EQ(a->Compare(b), -b->Compare(a));
    EXPECT_NE(a->Compare(b), 0);
    EXPECT_EQ(a->Compare(b) < 0, reinterpret_cast<uintptr_t>(a) < reinterpret_cast<uintptr_t>(b));
    Object low, high;  // far from the heap blocks: the sign must still be right
    Object* heap = new Object;
    EXPECT_EQ(heap->Compare(&low) < 0,
              reinterpret_cast<uintptr_t>(heap) < reinterpret_cast<uintptr_t>(&low));
    EXPECT_EQ(low.Compare(heap), -heap->Compare(&low));
}

TEST_F(CollectorTest, ObjectDebugText) { EXPECT_EQ((new Object)->debug().ToUtf8(), "+Object\n"); }

class Listener {
public:
    virtual ~Listener() {}
    virtual int Heard() = 0;
};

// The Object part sits after the interface in the block.
class Subscriber : public Listener, public Object {
public:
    int Heard() override { return 7; }
    ~Subscriber() override { ++g_probes_destroyed; }
};

TEST_F(CollectorTest, ObjectsWhoseHeaderIsInsideTheBlockAreCollected) {
    Subscriber* s = new Subscriber;
    gc_object* header = s;
    ASSERT_NE(static_cast<void*>(header), static_cast<void*>(s)) << "header follows the interface";
    EXPECT_NE(header->flags, GC_STATIC_FLAGS);
    EXPECT_EQ(IndexOn(gc_unmarked_list, header), 0);
    EXPECT_EQ(header->flags & ~7, int((sizeof(Subscriber) + 7) & ~7));
    EXPECT_EQ(static_cast<Listener*>(s)->Heard(), 7);
    gc_collect_all();
    gc_destroy_free();
    EXPECT_EQ(g_probes_destroyed, 1);
}

class Holder : public Object {
public:
    explicit Holder(Probe* value) { gc_assign(held, value); }
    Probe* held = nullptr;
    void mark() override { gc_mark_q(held); }
};

Probe* Refuse() { throw std::runtime_error("no argument"); }

TEST_F(CollectorTest, ObjectsMadeWhileAnotherIsAllocatedAreBothCollected) {
    Holder* holder = new Holder(new Probe);
    EXPECT_NE(holder->flags, GC_STATIC_FLAGS);
    EXPECT_NE(holder->held->flags, GC_STATIC_FLAGS);
    EXPECT_EQ(holder->flags & ~7, int((sizeof(Holder) + 7) & ~7));
    EXPECT_EQ(CountOn(gc_unmarked_list) + CountOn(gc_queued_list), 2);

    int alloced = gc_alloced_bytes;
    EXPECT_THROW(new Holder(Refuse()), std::runtime_error);
    EXPECT_EQ(gc_alloced_bytes, alloced);
    Holder* next = new Holder(nullptr);
    EXPECT_NE(next->flags, GC_STATIC_FLAGS);
    EXPECT_EQ(gc_alloced_bytes, alloced + (next->flags & ~7));
}

class Failing : public Object {
public:
    Array<int> scratch{Array<int>(4)};
    Failing() { throw std::runtime_error("no"); }
};

TEST_F(CollectorTest, AFailedConstructionGivesItsBlockBack) {
    Probe* before = new Probe;
    int alloced = gc_alloced_bytes;
    EXPECT_THROW(new Failing, std::runtime_error);
    // The failed object's own block is gone; its member array is ordinary garbage, its
    // block rounded up to 8 bytes (a 32-bit build's header leaves it short of that).
    EXPECT_EQ(gc_alloced_bytes,
              alloced + int((sizeof(Array<int>::Rep) + 4 * sizeof(int) + 7) & ~7));
    EXPECT_EQ(CountOn(gc_unmarked_list), 2);
    EXPECT_EQ(IndexOn(gc_unmarked_list, before), 0);
}

TEST_F(CollectorTest, DeletingAnObjectUnlinksIt) {
    Probe* keep = new Probe;
    Probe* gone = new Probe;
    int alloced = gc_alloced_bytes;
    delete gone;
    EXPECT_EQ(g_probes_destroyed, 1);
    EXPECT_EQ(CountOn(gc_unmarked_list), 1);
    EXPECT_EQ(IndexOn(gc_unmarked_list, keep), 0);
    EXPECT_EQ(gc_alloced_bytes, alloced - ((int(sizeof(Probe)) + 7) & ~7));
}

}  // namespace
