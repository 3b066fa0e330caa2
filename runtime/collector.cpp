// Incremental mark-and-sweep collector: four lists, a colour bit that flips at every full
// collection, lazy destruction of dead blocks and a cache of small free blocks.
#include "runtime/collector.h"

#include <climits>
#include <cstdlib>
#include <utility>
#include <vector>

int gc_markbit = 0;
int gc_alloced_bytes = 0;
int gc_marked_bytes = 0;
int gc_free_bytes = 0;
int gc_new_bytes = 0;
std::atomic<int> gc_ext_new_bytes{0};
gc_object gc_unmarked_list(gc_static);
gc_object gc_queued_list(gc_static);
gc_object gc_marked_list(gc_static);
gc_object gc_free_list(gc_static);
int64_t gc_alloc_count = 0;

namespace {

constexpr int kCacheLimit = 56;
// A returned block waiting in the cache; its object is already destroyed.
struct FreeBlock {
    FreeBlock* succ;
};
// Free blocks of 8..56 bytes by size / 8.
FreeBlock* gc_cache[8];

// Blocks handed out and waiting for their gc_object constructor. Usually one, but
// `new A(new B)` allocates A, then makes B completely, then constructs A.
struct Pending {
    char* block;
    int size;
};
constexpr int kMaxPending = 64;
Pending pending[kMaxPending];
int pending_count = 0;

void AddPending(void* block, int size) {
    if (pending_count == kMaxPending) {
        // Only a block abandoned without construction can be this old.
        for (int i = 1; i < kMaxPending; ++i) pending[i - 1] = pending[i];
        --pending_count;
    }
    pending[pending_count++] = {static_cast<char*>(block), size};
}

// Removes and returns the pending block holding `at`; size 0 when there is none.
Pending TakePending(const void* at) {
    const char* p = static_cast<const char*>(at);
    for (int i = pending_count - 1; i >= 0; --i) {
        Pending found = pending[i];
        if (p >= found.block && p < found.block + found.size) {
            for (int j = i + 1; j < pending_count; ++j) pending[j - 1] = pending[j];
            --pending_count;
            return found;
        }
    }
    return {nullptr, 0};
}

using Root = std::pair<void*, void (*)(void*)>;
std::vector<Root>& Roots() {
    static std::vector<Root> roots;
    return roots;
}

int SizeOf(const gc_object* p) { return p->flags & ~7; }

bool IsEmpty(const gc_object& list) { return list.succ == &list; }

void Unlink(gc_object* p) {
    p->pred->succ = p->succ;
    p->succ->pred = p->pred;
}

void Append(gc_object& list, gc_object* p) {
    p->pred = list.pred;
    p->succ = &list;
    list.pred->succ = p;
    list.pred = p;
}

// Moves every block of `from` to the tail of `to`, leaving `from` empty.
void AppendAll(gc_object& from, gc_object& to) {
    if (IsEmpty(from)) return;
    from.succ->pred = to.pred;
    to.pred->succ = from.succ;
    from.pred->succ = &to;
    to.pred = from.pred;
    from.succ = from.pred = &from;
}

void* TakeBlock(int size) {
    if (size <= kCacheLimit && gc_cache[size / 8]) {
        FreeBlock* block = gc_cache[size / 8];
        gc_cache[size / 8] = block->succ;
        return block;
    }
    return std::malloc(size_t(size));
}

void ReturnBlock(void* block, int size) {
    if (size <= kCacheLimit) {
        FreeBlock* cached = static_cast<FreeBlock*>(block);
        cached->succ = gc_cache[size / 8];
        gc_cache[size / 8] = cached;
    } else {
        std::free(block);
    }
}

// Follows one queued block: it turns black and its references are queued.
void Blacken(gc_object* p) {
    Unlink(p);
    Append(gc_marked_list, p);
    gc_marked_bytes += SizeOf(p);
    p->mark();
}

void FullCollection(int ext) {
    gc_ext_new_bytes.fetch_sub(ext);
    gc_mark_queued(INT_MAX);
    gc_sweep();
    gc_mark();
    gc_new_bytes = 0;
}

bool IsOnList(const gc_object& list, const gc_object* p) {
    for (const gc_object* q = list.succ; q != &list; q = q->succ) {
        if (q == p) return true;
    }
    return false;
}

}  // namespace

// The header may sit inside the block rather than at its start (a class whose first base
// is not an Object); every block is still found through its most-derived address.
gc_object::gc_object() {
    Pending mine = TakePending(this);
    if (mine.block) {
        flags = mine.size | gc_markbit;
        Append(gc_unmarked_list, this);
        gc_alloced_bytes += mine.size;
    } else {
        // Not made by gc_object_alloc (a static or automatic object): never collected.
        flags = GC_STATIC_FLAGS;
        succ = pred = this;
    }
}

void* gc_object::operator new(size_t size) { return gc_object_alloc(int(size)); }

// Size of the block whose header was unlinked last by the destructor, for operator delete.
static int unlinked_size = 0;

gc_object::~gc_object() {
    int size = SizeOf(this);
    if ((flags & 3) == GC_STATIC_FLAGS) {
        if (size) unlinked_size = size;  // a block detached by gc_init_lists
        return;
    }
    if (!succ) return;
    if ((flags & 3) != gc_markbit && IsOnList(gc_marked_list, this)) gc_marked_bytes -= size;
    Unlink(this);
    succ = pred = nullptr;
    gc_alloced_bytes -= size;
    unlinked_size = size;
}

// Reached after the destructor above has unlinked the block, or when the block was never
// constructed (an argument of the new-expression threw).
void gc_object::operator delete(void* p) {
    Pending never = TakePending(p);
    ReturnBlock(p, never.block ? never.size : unlinked_size);
}

void* gc_object_alloc(int size) {
    size = (size + 7) & ~7;
    gc_new_bytes += size;
    int floor = gc_free_bytes - size;
    if (floor < 0) floor = 0;
    while (gc_free_bytes > floor && !IsEmpty(gc_free_list)) {
        gc_object* dead = gc_free_list.succ;
        Unlink(dead);
        gc_destroy(dead);
    }
    void* block = TakeBlock(size);
    ++gc_alloc_count;
    AddPending(block, size);
    return block;
}

void gc_destroy(gc_object* p) {
    int size = SizeOf(p);
    void* block = dynamic_cast<void*>(p);
    gc_free_bytes -= size;
    p->succ = p->pred = nullptr;  // already off every list
    p->~gc_object();
    ReturnBlock(block, size);
}

void gc_mark_q(gc_object* p) {
    if (!p || (p->flags & 3) != gc_markbit) return;
    p->flags ^= 1;
    Unlink(p);
    Append(gc_queued_list, p);
}

void gc_mark_now(gc_object* p) {
    if (!p || (p->flags & 3) != gc_markbit) return;
    p->flags ^= 1;
    Blacken(p);
}

void gc_ext_malloced(int bytes) { gc_ext_new_bytes.fetch_add(bytes); }

void gc_mark() {
    for (const Root& root : Roots()) root.second(root.first);
}

void gc_mark_queued(int target) {
    while (gc_marked_bytes < target && !IsEmpty(gc_queued_list)) Blacken(gc_queued_list.succ);
}

void gc_collect() {
    int ext = gc_ext_new_bytes.load();
    if (int64_t(gc_new_bytes) + ext > GC_FULL_COLLECT_BYTES) {
        FullCollection(ext);
        return;
    }
    int64_t target = gc_new_bytes + int64_t(gc_new_bytes) * (gc_alloced_bytes - gc_new_bytes) /
                                        GC_FULL_COLLECT_BYTES;
    gc_mark_queued(target > INT_MAX ? INT_MAX : int(target));
}

// Survivors are not touched: the colour flip makes every black block white again.
void gc_sweep() {
    int dead = gc_alloced_bytes - gc_marked_bytes;
    if (!IsEmpty(gc_unmarked_list)) {
        AppendAll(gc_unmarked_list, gc_free_list);
        gc_free_bytes += dead;
    }
    AppendAll(gc_marked_list, gc_unmarked_list);
    gc_alloced_bytes = gc_marked_bytes;
    gc_marked_bytes = 0;
    gc_markbit ^= 1;
}

// Blocks made before start-up (by static initialisers) stay valid but leave the collector:
// they keep their size and take the static colour, so nothing moves or frees them.
static void DetachAll(gc_object& list) {
    while (!IsEmpty(list)) {
        gc_object* p = list.succ;
        Unlink(p);
        p->flags = SizeOf(p) | GC_STATIC_FLAGS;
        p->succ = p->pred = p;
    }
}

void gc_init_lists() {
    gc_destroy_free();
    DetachAll(gc_unmarked_list);
    DetachAll(gc_queued_list);
    DetachAll(gc_marked_list);
    gc_alloced_bytes = gc_marked_bytes = gc_free_bytes = gc_new_bytes = 0;
    gc_ext_new_bytes.store(0);
}

void gc_destroy_free() {
    while (!IsEmpty(gc_free_list)) {
        gc_object* dead = gc_free_list.succ;
        Unlink(dead);
        gc_destroy(dead);
    }
}

void gc_collect_all() {
    gc_mark();
    FullCollection(gc_ext_new_bytes.load());
}

void gc_add_root(void* slot, void (*marker)(void* slot)) { Roots().emplace_back(slot, marker); }

void gc_clear_roots() { Roots().clear(); }
