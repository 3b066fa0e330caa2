// The larger picture sets in a browser. The first download holds the plain set alone, and
// the page fetches a larger set only once the canvas's drawing buffer has shown, for a
// while, as many pixels per unit of the game's virtual screen as the set has. Meanwhile a
// picture of a set not at hand stands in as the largest set at hand has it, drawn from a
// texture as many times smaller (QvGame::StandInScale): the game draws the smaller set's
// pictures, and needs to know nothing of it.
#pragma once

#include "runtime/runtime.h"

class QvGlfwGame;

class QvPictureSets {
public:
    // Once a frame: the sets the page has, and the drawing buffer's size, which decides the
    // set worth fetching.
    void Tick(int drawingWidth, int drawingHeight, double seconds);
    // For a picture of a set not at hand, a stand-in: a short record naming the picture;
    // null for any other path.
    unsigned char* StandIn(const String& path, int* length) const;
    // How many times smaller than its picture a stand-in decodes now; 0 for other bytes.
    int StandInScale(const unsigned char* bytes, int length) const;
    // The pixels of a stand-in: its picture in the largest set at hand; null for other bytes.
    unsigned char* Decode(QvGlfwGame& host, const unsigned char* bytes, int length, int* width,
                          int* height, int* depth) const;

private:
    // The largest set at hand of at most `scale`.
    int Source(int scale) const;

    int _here = 1;  // one bit for each set at hand, by its scale: 1, 2 or 4
    int _wanted = 1;
    double _wantedFor = 0.0;  // seconds the wanted set has stayed the same
    int _asked = 0;
};
