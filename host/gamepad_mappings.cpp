#include "host/gamepad_mappings.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

#include "host/escaped_text.h"

namespace {

// Limits of the window system's mapping reader.
constexpr size_t kMaxLine = 1023;
constexpr size_t kMaxName = 127;
constexpr size_t kGuidLength = 32;
constexpr const char* kPlatform = "Linux";

// Fields that name an input of the pad; any other field is passed over.
constexpr const char* kElements[] = {
    "a",
    "b",
    "x",
    "y",
    "back",
    "start",
    "guide",
    "leftshoulder",
    "rightshoulder",
    "leftstick",
    "rightstick",
    "dpup",
    "dpright",
    "dpdown",
    "dpleft",
    "lefttrigger",
    "righttrigger",
    "leftx",
    "lefty",
    "rightx",
    "righty",
};

bool IsElement(const std::string& key) {
    for (const char* name : kElements) {
        if (key == name) return true;
    }
    return false;
}

bool Digits(const std::string& s, size_t& at) {
    const size_t start = at;
    while (at < s.size() && std::isdigit(static_cast<unsigned char>(s[at]))) ++at;
    return at > start;
}

// An input: optional half-range sign, then a button "b3", an axis "a2" (with "~" for
// inverted) or a hat direction "h0.4".
bool IsInput(const std::string& value) {
    size_t at = 0;
    if (at < value.size() && (value[at] == '+' || value[at] == '-')) ++at;
    if (at >= value.size()) return false;
    const char kind = value[at++];
    if (!Digits(value, at)) return false;
    if (kind == 'h')
        return at < value.size() && value[at++] == '.' && Digits(value, at) && at == value.size();
    if (kind == 'a' && at < value.size() && value[at] == '~') ++at;
    return (kind == 'a' || kind == 'b') && at == value.size();
}

// The fields between commas; a comma at the end starts no field.
std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    for (size_t at = 0; at < line.size();) {
        const size_t comma = std::min(line.find(',', at), line.size());
        fields.emplace_back(line, at, comma - at);
        at = comma + 1;
    }
    return fields;
}

bool IsGuid(const std::string& s) {
    if (s.size() != kGuidLength) return false;
    for (char c : s) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

std::string LowerCase(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Text from the line in quotes, escaped and cut to fit the console line it is quoted on.
std::string Quoted(const std::string& text) { return "\"" + QvEscapeName(text) + "\""; }

enum class Verdict { kUse, kOtherPlatform, kBad };

// Whether the line can be used, belongs to another platform, or is bad (and then `why`).
Verdict Judge(const std::string& line, std::string& why) {
    if (line.size() > kMaxLine) {
        why = "longer than 1023 characters";
        return Verdict::kBad;
    }
    // The window system ends a line at a carriage return too, and would read what follows
    // as a mapping of its own that was never judged.
    if (line.find('\r') != std::string::npos) {
        why = "a carriage return inside the line";
        return Verdict::kBad;
    }
    const std::vector<std::string> fields = Split(line);
    if (!IsGuid(fields[0])) {
        why = "the GUID " + Quoted(fields[0]) + " is not 32 hexadecimal digits";
        return Verdict::kBad;
    }
    if (fields.size() < 2 || line.find(',', kGuidLength + 1) == std::string::npos) {
        why = "no name followed by a comma";
        return Verdict::kBad;
    }
    if (fields[1].size() > kMaxName) {
        why = "the name is longer than 127 characters";
        return Verdict::kBad;
    }
    Verdict verdict = Verdict::kUse;
    for (size_t i = 2; i < fields.size(); ++i) {
        const std::string& field = fields[i];
        if (field.empty()) continue;
        const size_t colon = field.find(':');
        if (field[0] == '+' || field[0] == '-') {
            why = Quoted(field) + ": half-range outputs are not supported";
            return Verdict::kBad;
        }
        if (colon == std::string::npos) {
            why = Quoted(field) + " is not name:input";
            return Verdict::kBad;
        }
        const std::string key = field.substr(0, colon), value = field.substr(colon + 1);
        if (key == "platform") {
            if (value != kPlatform) verdict = Verdict::kOtherPlatform;
        } else if (IsElement(key) && !IsInput(value)) {
            why = Quoted(field) + " names no button, axis or hat";
            return Verdict::kBad;
        }
    }
    return verdict;
}

// The line without the white space around it.
std::string Trimmed(const std::string& text, size_t begin, size_t end) {
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

// Lines from `at` to the end of the text.
long LinesFrom(const std::string& text, size_t at) {
    if (at >= text.size()) return 0;
    return std::count(text.begin() + long(at), text.end(), '\n') + (text.back() != '\n');
}

}  // namespace

QvGamepadMappings QvSortGamepadMappings(const std::string& text, const std::string& origin) {
    QvGamepadMappings out;
    long skipped = 0, repeated = 0, beyond = 0, unread = 0;
    int used = 0;
    std::unordered_set<std::string> guids;  // in lower case, as the window system reads them
    size_t at = 0;
    for (int number = 1; at < text.size(); ++number) {
        if (number > kMostMappingLines) {
            unread = LinesFrom(text, at);
            break;
        }
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = Trimmed(text, at, end);
        at = end + 1;
        if (line.empty() || line[0] == '#') continue;
        std::string why;
        switch (Judge(line, why)) {
            case Verdict::kUse:
                if (!guids.insert(LowerCase(line.substr(0, kGuidLength))).second) {
                    ++repeated;
                } else if (used == kMostMappings) {
                    ++beyond;
                } else {
                    out.usable += line + "\n";
                    ++used;
                }
                break;
            case Verdict::kOtherPlatform: break;
            case Verdict::kBad:
                if (++skipped > kNamedMappingProblems) break;
                out.problems.push_back("Game pad mapping skipped (" + origin + " line " +
                                       std::to_string(number) + "): " + why);
                break;
        }
    }
    if (skipped > kNamedMappingProblems) {
        out.problems.push_back("Game pad mappings skipped (" + origin +
                               "): " + std::to_string(skipped) + " lines, the first " +
                               std::to_string(kNamedMappingProblems) + " named above");
    }
    std::vector<std::string> counts;
    if (beyond > 0)
        counts.push_back(std::to_string(beyond) + " beyond the first " +
                         std::to_string(kMostMappings));
    if (repeated > 0)
        counts.push_back(std::to_string(repeated) + " repeating the GUID of one before");
    if (unread > 0) {
        counts.push_back(std::to_string(unread) + " lines after line " +
                         std::to_string(kMostMappingLines) + " not read");
    }
    if (!counts.empty()) {
        std::string line = "Game pad mappings left out (" + origin + "): " + counts[0];
        for (size_t i = 1; i < counts.size(); ++i) line += ", " + counts[i];
        out.problems.push_back(line);
    }
    return out;
}
