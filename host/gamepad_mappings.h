// Extra gamepad mappings in the community gamecontrollerdb.txt format, one per line:
// "GUID,name,a:b0,b:b1,...,leftx:a0,lefty:a1,dpup:h0.1,...,platform:Linux,".
#pragma once

#include <string>
#include <vector>

struct QvGamepadMappings {
    std::string usable;                 // the lines the window system can take
    std::vector<std::string> problems;  // console lines about the lines left out
};

// Sorts the lines of `text` (from `origin`, named in the problems): blank lines,
// comments and mappings for other platforms are passed over quietly; a line that is
// not a mapping the window system can read is left out. The first kNamedMappingProblems
// such lines each get a problem naming the line and what is wrong with it (text quoted
// from the line is escaped and cut to fit the console line); when there are more, one
// last problem counts them all, so a file of junk cannot flood the console.
//
// The window system's cost of taking mappings grows with the square of their number, so
// at most kMostMappings are kept (twice the community file's lines for every platform);
// a mapping for a pad one before already maps is left out too (the first one holds), and
// lines after kMostMappingLines are not read at all, so the start costs little whatever
// the file holds. One problem counts all three kinds of left-out lines.
constexpr int kNamedMappingProblems = 5;
constexpr int kMostMappings = 4096;
constexpr int kMostMappingLines = 65536;
QvGamepadMappings QvSortGamepadMappings(const std::string& text, const std::string& origin);
