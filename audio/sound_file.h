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
// decode: the device's buffers take 1 or 2 channels of 1 or 2 bytes, at any rate it can
// resample to its own. A rate of 0 (or one of 2^31 and more, which reads back negative)
// cannot play, and one above 384000, the fastest rate recorders write, is damage rather
// than sound.
#pragma once

#include <cstdio>

constexpr int kSoundMostChannels = 2;
constexpr long kSoundLeastHertz = 1;
constexpr long kSoundMostHertz = 384000;

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
