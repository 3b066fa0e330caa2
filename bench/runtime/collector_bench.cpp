// Allocation and collection throughput: objects per second through the collector with one
// incremental step per simulated dispatched call, and the cost of a full collection.
#include <benchmark/benchmark.h>

#include "runtime/runtime.h"

namespace {

class Node : public Object {
public:
    Node* link = nullptr;
    Array<float> values;
    void mark() override {
        gc_mark_q(link);
        gc_mark_q(values);
    }
};

Array<Node*> g_live;

void Reset() {
    gc_clear_roots();
    g_live = Array<Node*>();
    gc_collect_all();
    gc_collect_all();
    gc_destroy_free();
    gc_init_lists();
}

// After a reset, `live` nodes rooted through g_live.
void MakeLiveSet(int live) {
    Reset();
    gc_root(g_live);
    gc_assign(g_live, Array<Node*>(live));
    for (int i = 0; i < live; ++i) gc_assign(g_live[i], new Node);
}

// A working set of `live` objects; every allocation replaces one of them, so as many die as
// are made. One collector step follows every 64 allocations, like one per dispatched call.
void BM_AllocateWithSteps(benchmark::State& state) {
    const int live = int(state.range(0));
    MakeLiveSet(live);
    unsigned slot = 0;
    int64_t made = 0;
    for (auto _ : state) {
        for (int i = 0; i < 64; ++i) {
            Node* node = new Node;
            slot = (slot * 1103515245u + 12345u) % unsigned(live);
            gc_assign(node->link, g_live[int(slot)]->link);
            gc_assign(g_live[int(slot)], node);
        }
        gc_collect();
        made += 64;
    }
    state.SetItemsProcessed(made);
    Reset();
}
BENCHMARK(BM_AllocateWithSteps)->Arg(1000)->Arg(100000);

// Short-lived arrays of several sizes: the small ones go through the block cache.
void BM_AllocateGarbage(benchmark::State& state) {
    Reset();
    const int elements = int(state.range(0));
    int64_t made = 0;
    for (auto _ : state) {
        for (int i = 0; i < 64; ++i) benchmark::DoNotOptimize(Array<int>(elements).Body());
        gc_collect();
        made += 64;
    }
    state.SetItemsProcessed(made);
    state.SetBytesProcessed(made *
                            int64_t(sizeof(Array<int>::Rep) + sizeof(int) * size_t(elements)));
    Reset();
}
BENCHMARK(BM_AllocateGarbage)->Arg(2)->Arg(6)->Arg(64)->Arg(1024);

// A full collection over `live` reachable objects with the queue already drained, as the
// incremental steps leave it.
void BM_FullCollection(benchmark::State& state) {
    const int live = int(state.range(0));
    MakeLiveSet(live);
    for (auto _ : state) {
        gc_mark_queued(2147483647);
        gc_collect_all();
    }
    state.SetItemsProcessed(state.iterations() * live);
    Reset();
}
BENCHMARK(BM_FullCollection)->Arg(1000)->Arg(100000);

}  // namespace
