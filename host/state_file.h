// The saved-state file: one string as UTF-8 (each 16-bit character on its own, in one
// to three bytes), replaced whole on every save.
#pragma once

#include <vector>

#include "runtime/string.h"

// A state file is a few hundred bytes; no more than this is read of a larger file.
constexpr long kMaxStateFileBytes = 1L << 20;

// The result of a save refused because the file's name leads through a link another user
// made in a shared folder: the console has said so once, and nothing was written.
constexpr int kStateRefused = -3;

// A save that keeps what is stored: what it stores is made from the stored state as it
// is at that moment, so copies of the game sharing one state do not save over each
// other's records.
class QvStateUpdate {
public:
    // The state to store in place of `stored` (empty when nothing readable is stored).
    virtual String Updated(const String& stored) = 0;
    // `state`, which Updated made, is now what is stored.
    virtual void Stored(const String& state) = 0;

protected:
    ~QvStateUpdate() = default;
};

// Writes beside the file first and renames over it, so an interrupted save keeps the
// previous file. Symbolic links are followed (their final target is replaced and the
// links stay) as the kernel follows them where it protects shared folders: a link that
// another user made in a folder that is sticky and writable by everyone (/tmp and its
// like) is followed only when that user owns the folder; any other is refused, said once
// on the console, and neither read nor written. An existing file keeps its permission
// bits; one that is not a regular file, or that this process may not write, is left
// alone. Temporary files that saves of ended processes left behind are removed. When the
// folder allows no new file but the file itself may be written, the file is rewritten
// where it stands (room for the new content is reserved first where the file system can,
// so a full disk leaves the old content whole); the console says so once. 0 saved, -1
// could not save there (nothing changed), -2 could not write it all (the previous
// content is kept), kStateRefused. On failure errno says why.
int QvWriteStateFile(const String& path, const String& state);

// Reads the file, makes the state to store from it and writes that, as QvWriteStateFile
// does; update.Stored follows a save that succeeded. Saves of other processes to the same
// folder wait meanwhile where the file system can lock, so none writes between another's
// reading and writing.
int QvUpdateStateFile(const String& path, QvStateUpdate& update);

// The file's content decoded as text, at most its first kMaxStateFileBytes (a character
// cut there is left out); empty when there is no file, when it cannot be read, is not a
// regular file or is reached through a link that is refused.
String QvReadStateFile(const String& path);

// Stored bytes as the state's text, as QvReadStateFile decodes a file's content.
String QvStateFromBytes(std::vector<unsigned char>& bytes);
