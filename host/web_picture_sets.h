// The larger picture sets in a browser. The first download holds the plain set alone; a
// larger set is fetched in the background when the game asks for one of its pictures and
// the window can show it. Until then (and for good, for a set larger than the window can
// show) each of its pictures stands in as the largest set at hand, enlarged to its size:
// the game draws those meanwhile and needs to know nothing of it.
#pragma once

#include "runtime/runtime.h"

class QvGlfwGame;

class QvPictureSets {
public:
    // The device's size, which decides the largest set worth fetching: a set shows more
    // than the one below it only where a virtual unit covers more than half its scale in
    // pixels, so a 640 x 480 window needs the plain set alone, though the game asks it
    // for the twice larger one.
    void SetWindow(int width, int height);
    // For a picture of a set that is not here (and asked of the page now, when worth it),
    // a stand-in file: a short header naming the picture, then the file it stands in as;
    // null for any other path, or when no smaller set has the picture either.
    unsigned char* StandIn(QvGlfwGame& host, const String& path, int* length) const;
    // Whether `bytes` are a stand-in that a set on its way will replace.
    bool StandsIn(const unsigned char* bytes, int length) const;
    // The pixels of a stand-in, from the largest set at hand that it may show; null for
    // bytes that are no stand-in.
    unsigned char* Decode(QvGlfwGame& host, const unsigned char* bytes, int length, int* width,
                          int* height, int* depth) const;

private:
    // The largest set at hand of at most `scale`, and at most the window's.
    int Source(int scale) const;
    int _windowScale = 1;
};

// Pixels enlarged `scale` times by repeating each (malloc'ed; release with free()).
unsigned char* QvEnlargePixels(const unsigned char* pixels, int width, int height, int depth,
                               int scale);
