// The saved-state file: one string as UTF-8 (each 16-bit character on its own, in one
// to three bytes), replaced whole on every save.
#pragma once

#include "runtime/string.h"

// A state file is a few hundred bytes; no more than this is read of a larger file.
constexpr long kMaxStateFileBytes = 1L << 20;

// Writes beside the file first and renames over it, so an interrupted save keeps the
// previous file. A symbolic link is followed: its final target is replaced and the link
// stays. An existing file keeps its permission bits; one that is not a regular file, or
// that this process may not write, is left alone. Temporary files that saves of ended
// processes left behind are removed. When the folder allows no new file but the file
// itself may be written, the file is rewritten where it stands (room for the new content
// is reserved first, so a full disk leaves the old content whole); the console says so
// once. 0 saved, -1 could not save there (nothing changed), -2 could not write it all
// (the previous content is kept). On failure errno says why.
int QvWriteStateFile(const String& path, const String& state);

// The file's content decoded as text, at most its first kMaxStateFileBytes (a character
// cut there is left out); empty when there is no file, when it cannot be read or is not a
// regular file.
String QvReadStateFile(const String& path);
