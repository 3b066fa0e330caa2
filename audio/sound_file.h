// Decoders for the two sound-file formats the game ships: RIFF WAVE (uncompressed PCM)
// and Ogg Vorbis. The host opens the file, picks the reader by the file name's ending and
// closes the file afterwards.
//
// Both readers return a malloc'ed block of interleaved samples (released with free), or
// null when the file does not decode. `length` counts sample frames (samples per channel),
// `channels` is 1 or 2, `format` the bytes per sample and `hertz` the sample rate.
// Multi-byte samples are little-endian; 8-bit samples are unsigned.
//
// A file whose layout the audio device cannot play is refused like one that does not
// decode: the device's buffers take 1 or 2 channels of 1 or 2 bytes, and rates outside the
// usual 8000 to 192000 samples a second are damage rather than music (a rate of 2^31 and
// more would even read back negative).
#pragma once

#include <cstdio>

constexpr int kSoundMostChannels = 2;
constexpr long kSoundLeastHertz = 8000;
constexpr long kSoundMostHertz = 192000;

inline bool PlayableLayout(int channels, int format, long hertz) {
    return channels >= 1 && channels <= kSoundMostChannels && (format == 1 || format == 2) &&
           hertz >= kSoundLeastHertz && hertz <= kSoundMostHertz;
}

// The next 4 bytes as a little-endian int32; -1 when fewer than 4 bytes remain.
int readInt(FILE* f);
// Bytes between the read position and the end of the file; -1 when it cannot be told.
long BytesLeft(FILE* f);

unsigned char* LoadWAV(FILE* f, int* length, int* channels, int* format, int* hertz);
unsigned char* LoadOGG(FILE* f, int* length, int* channels, int* format, int* hertz);
