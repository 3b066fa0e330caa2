// The saved-state file: one string as UTF-8 (each 16-bit character on its own, in one
// to three bytes), replaced whole on every save.
#pragma once

#include "runtime/string.h"

// Writes beside `path` first and renames over it, so an interrupted save keeps the
// previous file. 0 saved, -1 could not create the file, -2 could not write it all.
int QvWriteStateFile(const String& path, const String& state);

// The file's content decoded as text; empty when there is no file.
String QvReadStateFile(const String& path);
