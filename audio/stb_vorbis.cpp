// The stb_vorbis decoder itself, compiled once here; ogg_reader.cpp sees only its header.
#include <stb/stb_vorbis.h>
