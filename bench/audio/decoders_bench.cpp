// Decoding the game's own sound files whole, as the loader does: every effect, and the
// tune (which used to be decoded whole before it could start; it streams now, see
// bench_audio_music); and refusing damaged copies of the tune.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "audio/sound_file.h"
#include "bench/audio/sound_folder.h"
#include "tests/audio/damaged_tune.h"

namespace {

using Reader = unsigned char* (*)(FILE*, int*, int*, int*, int*);

// Decodes one file; the bytes of samples produced, or -1 when it did not decode.
long Decode(const std::string& path, Reader reader) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return -1;
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* samples = reader(f, &length, &channels, &format, &hertz);
    fclose(f);
    if (!samples) return -1;
    free(samples);
    return long(length) * channels * format;
}

// Decodes every file once an iteration; stops with an error at the first that does not
// decode.
void DecodeEach(benchmark::State& state, const std::vector<std::string>& files, Reader reader) {
    long bytes = 0;
    for (auto _ : state) {
        for (const std::string& file : files) {
            long decoded = Decode(file, reader);
            if (decoded < 0) {
                state.SkipWithError(("cannot decode " + file).c_str());
                return;
            }
            bytes += decoded;
        }
    }
    state.SetBytesProcessed(bytes);
}

void BM_LoadEffects(benchmark::State& state) {
    std::vector<std::string> files;
    for (const char* slot : {"001", "002", "003", "004", "005", "006", "007", "008", "009", "010",
                             "011", "095", "096", "098", "099"}) {
        files.push_back(SoundFolder() + slot + ".wav");
    }
    DecodeEach(state, files, LoadWAV);
}
BENCHMARK(BM_LoadEffects)->Unit(benchmark::kMillisecond);

void BM_DecodeTune(benchmark::State& state) {
    DecodeEach(state, {SoundFolder() + "gale.ogg"}, LoadOGG);
}
BENCHMARK(BM_DecodeTune)->Unit(benchmark::kMillisecond);

// Refusing damaged headers made from the tune: a 200-byte one whose first codebook claims
// 6.9 million entries, and the whole tune with a rate of 2^31 - 1. Each should cost far
// less than decoding the tune.
void RefuseEach(benchmark::State& state, const std::string& bytes) {
    for (auto _ : state) {
        FILE* f = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
        int length = 0, channels = 0, format = 0, hertz = 0;
        unsigned char* samples = LoadOGG(f, &length, &channels, &format, &hertz);
        fclose(f);
        if (samples) {
            free(samples);
            state.SkipWithError("the damaged tune was not refused");
            return;
        }
    }
}

void BM_RefuseHugeCodebookHeader(benchmark::State& state) {
    RefuseEach(state, TuneHeaderClaimingAHugeCodebook(BytesOf(SoundFolder() + "gale.ogg")));
}
BENCHMARK(BM_RefuseHugeCodebookHeader)->Unit(benchmark::kMicrosecond);

void BM_RefuseImpossibleRate(benchmark::State& state) {
    RefuseEach(state, TuneWithRate(BytesOf(SoundFolder() + "gale.ogg"), 0x7fffffffu));
}
BENCHMARK(BM_RefuseImpossibleRate)->Unit(benchmark::kMicrosecond);

}  // namespace
