// Location URLs ("pellix://data/...") and their file paths.
#pragma once

#include <string>

#include "runtime/string.h"

// Completes a path given by the application: a bare relative name is a data file.
String qv_data_FixDataPath(String path);

// The file path of a location URL, given the application directory (no trailing "/").
// Empty for an unknown "pellix:" location; any other text is returned unchanged.
String QvResolveLocation(const String& path, const String& appDir);

// The folder part of an executable's path as the file system gives it: the bytes before
// the last "/", decoded so that they encode back to the same bytes. A backslash is an
// ordinary character of a name here, not a separator. Aborts when there is no "/".
String QvDirectoryOfExecutable(const std::string& exePath);

// The directory of the running executable, no trailing "/".
String QvApplicationDirectory();
