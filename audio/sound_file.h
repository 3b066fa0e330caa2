// Decoders for the two sound-file formats the game ships: RIFF WAVE (uncompressed PCM)
// and Ogg Vorbis. The host opens the file, picks the reader by the file name's ending and
// closes the file afterwards.
//
// Both readers return a malloc'ed block of interleaved samples (released with free), or
// null when the file does not decode. `length` counts sample frames (samples per channel),
// `channels` is 1 or 2, `format` the bytes per sample and `hertz` the sample rate.
// Multi-byte samples are little-endian; 8-bit samples are unsigned.
#pragma once

#include <cstdio>

// The next 4 bytes as a little-endian int32; -1 when fewer than 4 bytes remain.
int readInt(FILE* f);

unsigned char* LoadWAV(FILE* f, int* length, int* channels, int* format, int* hertz);
unsigned char* LoadOGG(FILE* f, int* length, int* channels, int* format, int* hertz);
