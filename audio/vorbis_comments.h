// A check made before an Ogg Vorbis stream reaches stb_vorbis, whose comment-header parser
// trusts the lengths in the file: a vendor or comment length that overruns the packet
// makes it write outside its blocks or free pointers it never set.
#pragma once

#include <cstdio>

// True when the stream's second packet is a Vorbis comment header whose vendor string,
// comment count and comments all fit inside the packet. Leaves the read position where
// it found it.
bool VorbisCommentsFit(FILE* f);
