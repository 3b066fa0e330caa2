#include "host/gamepad_mappings.h"

#include <cctype>
#include <sstream>

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

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, ',')) fields.push_back(field);
    return fields;
}

bool IsGuid(const std::string& s) {
    if (s.size() != kGuidLength) return false;
    for (char c : s) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

enum class Verdict { kUse, kOtherPlatform, kBad };

// Whether the line can be used, belongs to another platform, or is bad (and then `why`).
Verdict Judge(const std::string& line, std::string& why) {
    if (line.size() > kMaxLine) {
        why = "longer than 1023 characters";
        return Verdict::kBad;
    }
    const std::vector<std::string> fields = Split(line);
    if (!IsGuid(fields[0])) {
        why = "the GUID \"" + fields[0] + "\" is not 32 hexadecimal digits";
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
            why = "\"" + field + "\": half-range outputs are not supported";
            return Verdict::kBad;
        }
        if (colon == std::string::npos) {
            why = "\"" + field + "\" is not name:input";
            return Verdict::kBad;
        }
        const std::string key = field.substr(0, colon), value = field.substr(colon + 1);
        if (key == "platform") {
            if (value != kPlatform) verdict = Verdict::kOtherPlatform;
        } else if (IsElement(key) && !IsInput(value)) {
            why = "\"" + field + "\" names no button, axis or hat";
            return Verdict::kBad;
        }
    }
    return verdict;
}

}  // namespace

QvGamepadMappings QvSortGamepadMappings(const std::string& text, const std::string& origin) {
    QvGamepadMappings out;
    std::istringstream in(text);
    std::string line;
    long skipped = 0;
    for (int number = 1; std::getline(in, line); ++number) {
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.pop_back();
        size_t start = 0;
        while (start < line.size() && std::isspace(static_cast<unsigned char>(line[start])))
            ++start;
        line.erase(0, start);
        if (line.empty() || line[0] == '#') continue;
        std::string why;
        switch (Judge(line, why)) {
            case Verdict::kUse: out.usable += line + "\n"; break;
            case Verdict::kOtherPlatform: break;
            case Verdict::kBad:
                if (++skipped > kNamedMappingProblems) break;
                out.problems.push_back("Game pad mapping skipped (" + origin + " line " +
                                       std::to_string(number) + "): " + QvEscapeControls(why));
                break;
        }
    }
    if (skipped > kNamedMappingProblems) {
        out.problems.push_back("Game pad mappings skipped (" + origin +
                               "): " + std::to_string(skipped) + " lines, the first " +
                               std::to_string(kNamedMappingProblems) + " named above");
    }
    return out;
}
