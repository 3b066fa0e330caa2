// String concatenation, splitting and joining, at the sizes the game's saved state uses.
#include <benchmark/benchmark.h>

#include "runtime/runtime.h"

namespace {

// The saved state is a few hundred short numeric fields joined by a separator.
String StateLikeText(int fields) {
    Array<String> parts(fields);
    for (int i = 0; i < fields; ++i) parts[i] = String(i * 37 % 1000);
    return String(",").Join(parts);
}

void BM_ConcatenatePieces(benchmark::State& state) {
    const int pieces = int(state.range(0));
    String piece("12345,");
    for (auto _ : state) {
        String text;
        for (int i = 0; i < pieces; ++i) text += piece;
        benchmark::DoNotOptimize(text.Length());
    }
    state.SetItemsProcessed(state.iterations() * pieces);
}
BENCHMARK(BM_ConcatenatePieces)->Arg(16)->Arg(203);

void BM_ConcatenateTwo(benchmark::State& state) {
    String left = StateLikeText(int(state.range(0)));
    String right("tail");
    for (auto _ : state) benchmark::DoNotOptimize((left + right).Length());
    state.SetBytesProcessed(state.iterations() * int64_t(left.Length() + 4) * 2);
}
BENCHMARK(BM_ConcatenateTwo)->Arg(10)->Arg(203);

void BM_Split(benchmark::State& state) {
    String text = StateLikeText(int(state.range(0)));
    String comma(",");
    for (auto _ : state) {
        Array<String> fields = text.Split(comma);
        benchmark::DoNotOptimize(fields.Length());
        gc_collect();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Split)->Arg(10)->Arg(203)->Arg(5000);

void BM_Join(benchmark::State& state) {
    Array<String> fields = StateLikeText(int(state.range(0))).Split(String(","));
    String comma(",");
    for (auto _ : state) benchmark::DoNotOptimize(comma.Join(fields).Length());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Join)->Arg(203);

}  // namespace
