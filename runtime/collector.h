// Incremental mark-and-sweep collector for objects and array bodies.
// It runs only between the host's dispatched calls, so the machine stack is never scanned:
// the roots are the registered module globals and the host's delegate.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

struct gc_static_t {};
constexpr gc_static_t gc_static{};

class gc_object {
public:
    gc_object* succ;
    gc_object* pred;
    int flags;  // bits 0-1 colour (3 = static), bit 2 zero, bits 3.. size in bytes

    // Sets the header of a block handed out by gc_object_alloc and links it, white, at the
    // tail of the unmarked list. An object outside collector memory (static or automatic)
    // gets the static colour instead and is never collected.
    gc_object();
    // A static block (list sentinel or empty array body): colour 3, linked to itself.
    // constexpr so static bodies are ready before any other static initialiser runs.
    constexpr explicit gc_object(gc_static_t) : succ(this), pred(this), flags(3) {}
    gc_object(const gc_object&) = delete;
    gc_object& operator=(const gc_object&) = delete;
    // A block still linked (deleted directly, or its constructor threw) leaves its list here.
    virtual ~gc_object();
    virtual void mark() {}

    // Every collected object is created with `new` and lives in collector memory.
    static void* operator new(size_t size);
    static void* operator new(size_t, void* block) { return block; }
    // Returns the block after a constructor threw or a direct delete (the destructor has
    // already unlinked it); dead blocks are destroyed by the collector, not through here.
    static void operator delete(void* p);
    static void operator delete(void*, void*) {}
};

constexpr int GC_FULL_COLLECT_BYTES = 8 * 1024 * 1024;
constexpr int GC_STATIC_FLAGS = 3;

extern int gc_markbit;
extern int gc_alloced_bytes;
extern int gc_marked_bytes;
extern int gc_free_bytes;
extern int gc_new_bytes;
extern std::atomic<int> gc_ext_new_bytes;
extern gc_object gc_unmarked_list;
extern gc_object gc_queued_list;
extern gc_object gc_marked_list;
extern gc_object gc_free_list;
// Number of blocks handed out since start; lets tests and benchmarks count allocations.
extern int64_t gc_alloc_count;

// Steps of allocation up to handing out the block; the gc_object constructor links it.
void* gc_object_alloc(int size);
// Runs a dead block's destructor and returns its memory to the cache or the heap.
void gc_destroy(gc_object* p);
// Queues a white block (grey); the one marking primitive for mark() methods and barriers.
void gc_mark_q(gc_object* p);
// Blackens a white block at once and follows its references.
void gc_mark_now(gc_object* p);
void gc_ext_malloced(int bytes);
void gc_mark();
void gc_mark_queued(int target);
void gc_collect();
void gc_sweep();
// Empties the four lists (start-up); tests call it to begin from a clean collector.
void gc_init_lists();
// Destroys every block on the free list now instead of lazily (tests and shutdown checks).
void gc_destroy_free();
// Runs a full collection now, whatever the byte counters say (tests and shutdown checks).
void gc_collect_all();

// Roots: module globals holding objects or arrays, registered once at start-up in root order.
void gc_add_root(void* slot, void (*marker)(void* slot));
void gc_clear_roots();

template <class T>
void gc_root(T*& global) {
    gc_add_root(&global, [](void* slot) { gc_mark_q(*static_cast<T**>(slot)); });
}

// Write barrier: every store of an object reference into a field, an array element or a
// module global goes through here, so a white object stored into a black one is queued.
template <class T, class U>
inline U* gc_assign(T*& dst, U* src) {
    gc_mark_q(src);
    dst = src;
    return src;
}
