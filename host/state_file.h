// The saved-state file: one string as UTF-8 (each 16-bit character on its own, in one
// to three bytes), replaced whole on every save.
#pragma once

#include "runtime/string.h"

// A state file is a few hundred bytes; anything larger than this is not one.
constexpr long kMaxStateFileBytes = 1L << 20;

// Writes beside the file first and renames over it, so an interrupted save keeps the
// previous file. A symbolic link is followed: its final target is replaced and the link
// stays. An existing file keeps its permission bits; one that is not a regular file, or
// that this process may not write, is left alone. Temporary files that saves of ended
// processes left behind are removed. 0 saved, -1 could not save there (nothing changed),
// -2 could not write it all.
int QvWriteStateFile(const String& path, const String& state);

// The file's content decoded as text; empty when there is no file, when it cannot be
// read, is not a regular file, or is larger than kMaxStateFileBytes.
String QvReadStateFile(const String& path);
