// How often a piece of text occurs in another, overlapping occurrences included.
#pragma once

#include <string>

inline int Occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}
