// The fields of a stored state string: the pieces before each "|" (the empty piece after
// the last one is not a field).
#pragma once

#include <string>
#include <vector>

#include "game/bindings.h"

// Fields of a whole saved string: the 203 of settings, badges and highscores, then the
// controls block (version, keyboard split, two levels, the binding tables, checksum).
constexpr size_t kStateFields = 203 + 1 + 3 + binding::kSize + 1;

inline std::vector<std::string> StateFields(const std::string& state) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t bar = state.find('|'); bar != std::string::npos; bar = state.find('|', start)) {
        fields.push_back(state.substr(start, bar - start));
        start = bar + 1;
    }
    return fields;
}
