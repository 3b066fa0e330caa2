// Damaged data named on the console. Loaders treat a picture or sound that cannot be read
// like a missing one (the slot stays empty and the game goes on), but a file that exists
// and does not decode is named once, so that a truncated font or an empty tune is not
// mistaken for a game that draws nothing. A missing file stays silent.
#pragma once

#include "runtime/string.h"

enum class QvAsset { kPicture, kSound };

// Prints "Picture not readable: fonts/shadow_editundo.png" (or "Sound not readable: ..."),
// naming a data file by its place in the data folder.
void QvReportUnreadable(QvAsset kind, const String& path);
