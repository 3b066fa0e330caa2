// Starting the game's tune and keeping it fed, through the real audio device on OpenAL
// Soft's silent backend: what a round's first update pays when the tune starts, and what
// one refill of a played buffer costs an update. Decoding the tune whole (the way a tune
// started before it streamed) is in bench_audio_decoders.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "audio/audio_module.h"
#include "audio/vorbis_decoder.h"
#include "bench/audio/sound_folder.h"
#include "host/game.h"

namespace {

std::string Tune() { return SoundFolder() + "gale.ogg"; }

// The device, opened once on the backend that writes nowhere.
gxtkAudio* Device() {
    static gxtkAudio* device = [] {
        setenv("ALSOFT_DRIVERS", "null", 1);
        gc_init_lists();
        new QvGame();  // opens the tune's file
        gc_root(qv_audio_device);
        qv_audio_SetAudioDevice(new gxtkAudio());
        return qv_audio_device;
    }();
    return device;
}

// PlayMusic of the looping tune: open the file, check it, set up the decoder, decode and
// queue the first buffers. The stop that follows is not timed.
void BM_StartTune(benchmark::State& state) {
    gxtkAudio* device = Device();
    String tune(Tune().c_str());
    for (auto _ : state) {
        if (device->PlayMusic(tune, 1) != 0) {
            state.SkipWithError("cannot play the tune");
            return;
        }
        state.PauseTiming();
        device->StopMusic();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartTune)->Unit(benchmark::kMillisecond);

// One buffer's worth of the tune decoded, as an update does when the source has played
// one: a quarter of a second.
void BM_DecodeOneBuffer(benchmark::State& state) {
    FILE* file = fopen(Tune().c_str(), "rb");
    VorbisDecoder decoder;
    if (!file || !decoder.Open(file)) {
        state.SkipWithError("cannot open the tune");
        if (file) fclose(file);
        return;
    }
    const int frames = decoder.Rate() / 4;
    std::vector<short> piece(size_t(frames) * decoder.Channels());
    for (auto _ : state) {
        if (decoder.Read(piece.data(), frames) < frames) {
            state.PauseTiming();
            decoder.Rewind();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * frames);
    decoder.Close();
    fclose(file);
}
BENCHMARK(BM_DecodeOneBuffer)->Unit(benchmark::kMillisecond);

}  // namespace
