// Location URLs ("pellix://data/...") and their file paths.
#pragma once

#include "runtime/string.h"

// Completes a path given by the application: a bare relative name is a data file.
String qv_data_FixDataPath(String path);

// The file path of a location URL, given the application directory (no trailing "/").
// Empty for an unknown "pellix:" location; any other text is returned unchanged.
String QvResolveLocation(const String& path, const String& appDir);

// The directory of the running executable, "/" separated, no trailing "/".
// Aborts when the executable's path has no "/".
String QvApplicationDirectory();
