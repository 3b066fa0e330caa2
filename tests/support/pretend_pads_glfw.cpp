// The preloaded stand-in for GLFW's joystick functions: pads read from the state file
// named by VORTAN_PRETEND_PADS. File format and behaviour: pretend_pads.h.
#include <GLFW/glfw3.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kIds = GLFW_JOYSTICK_LAST + 1;

// One input a mapping names: a raw axis (with its range scale and offset), button or
// hat bit.
struct Input {
    char kind = 0;  // 'a', 'b', 'h'; 0 for none
    int index = 0;
    int bit = 0;
    float scale = 1, offset = 0;
};

struct Mapping {
    std::string name;
    Input buttons[GLFW_GAMEPAD_BUTTON_LAST + 1];
    Input axes[GLFW_GAMEPAD_AXIS_LAST + 1];
};

constexpr const char* kButtonNames[] = {
    "a",     "b",         "x",          "y",    "leftshoulder", "rightshoulder", "back",   "start",
    "guide", "leftstick", "rightstick", "dpup", "dpright",      "dpdown",        "dpleft",
};
constexpr const char* kAxisNames[] = {"leftx",  "lefty",       "rightx",
                                      "righty", "lefttrigger", "righttrigger"};

// "+a2", "-a5", "a1~", "b3", "h0.4"; false for anything else.
bool ParseInput(const std::string& text, Input& in) {
    float low = -1, high = 1;
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        (text[at] == '+' ? low : high) = 0;
        ++at;
    }
    if (at >= text.size()) return false;
    in.kind = text[at++];
    char* end = nullptr;
    in.index = int(std::strtol(text.c_str() + at, &end, 10));
    if (in.kind == 'h' && *end == '.') in.bit = int(std::strtol(end + 1, &end, 10));
    in.scale = 2 / (high - low);
    in.offset = -(high + low);
    if (in.kind == 'a' && *end == '~') {
        in.scale = -in.scale;
        in.offset = -in.offset;
    }
    return in.kind == 'a' || in.kind == 'b' || in.kind == 'h';
}

// "GUID,name,key:input,...": the GUID in lower case and the mapping; false when unreadable.
bool ParseMapping(const std::string& line, std::string& guid, Mapping& mapping) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    if (fields.size() < 2 || fields[0].size() != 32) return false;
    guid = fields[0];
    std::transform(guid.begin(), guid.end(), guid.begin(), ::tolower);
    mapping = Mapping{};
    mapping.name = fields[1];
    for (size_t i = 2; i < fields.size(); ++i) {
        const size_t colon = fields[i].find(':');
        if (colon == std::string::npos) continue;
        const std::string key = fields[i].substr(0, colon), value = fields[i].substr(colon + 1);
        for (int b = 0; b <= GLFW_GAMEPAD_BUTTON_LAST; ++b) {
            if (key == kButtonNames[b] && !ParseInput(value, mapping.buttons[b])) return false;
        }
        for (int a = 0; a <= GLFW_GAMEPAD_AXIS_LAST; ++a) {
            if (key == kAxisNames[a] && !ParseInput(value, mapping.axes[a])) return false;
        }
    }
    return true;
}

struct Pad {
    std::string name, guid;
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
    std::vector<unsigned char> hats;
};

struct State {
    bool present[kIds] = {};
    Pad pads[kIds];
    std::map<std::string, Mapping> mappings;  // by lower-case GUID, from the file
};

template <class T>
std::vector<T> Numbers(std::istringstream& in) {
    std::vector<T> out;
    for (float v; in >> v;) out.push_back(T(v));
    return out;
}

std::unique_ptr<State> ReadState(const char* path) {
    auto state = std::make_unique<State>();
    std::ifstream file(path);
    Pad* pad = nullptr;
    for (std::string line; std::getline(file, line);) {
        std::istringstream in(line);
        std::string key;
        in >> key;
        std::string rest;
        std::getline(in >> std::ws, rest);
        std::istringstream values(rest);
        if (key == "mapping") {
            std::string guid;
            Mapping mapping;
            if (ParseMapping(rest, guid, mapping)) state->mappings[guid] = mapping;
        } else if (key == "pad") {
            const int id = std::atoi(rest.c_str());
            pad = id >= 0 && id < kIds ? &state->pads[id] : nullptr;
            if (pad) state->present[id] = true;
        } else if (!pad) {
            continue;
        } else if (key == "name") {
            pad->name = rest;
        } else if (key == "guid") {
            pad->guid = rest;
        } else if (key == "axes") {
            pad->axes = Numbers<float>(values);
        } else if (key == "buttons") {
            pad->buttons = Numbers<unsigned char>(values);
        } else if (key == "hats") {
            pad->hats = Numbers<unsigned char>(values);
        }
    }
    return state;
}

// The library's whole state. The previous reading is kept one step longer, so arrays
// handed out just before a new reading stay valid through it.
struct Pretend {
    std::unique_ptr<State> now = std::make_unique<State>();
    std::unique_ptr<State> before;
    std::map<std::string, Mapping> added;  // from glfwUpdateGamepadMappings
    GLFWjoystickfun callback = nullptr;
    struct stat seen = {};
    bool started = false;
} pretend;

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// Reads the file again when it changed, and tells the callback who came and went.
void Refresh() {
    const char* path = std::getenv("VORTAN_PRETEND_PADS");
    struct stat info = {};
    if (!path || stat(path, &info) != 0) info = {};
    if (SameFile(info, pretend.seen)) return;
    pretend.seen = info;
    pretend.before = std::move(pretend.now);
    pretend.now = path ? ReadState(path) : std::make_unique<State>();
    if (!std::exchange(pretend.started, true)) return;  // plugged in from the start
    for (int id = 0; id < kIds; ++id) {
        const bool was = pretend.before->present[id], is = pretend.now->present[id];
        if (was != is && pretend.callback)
            pretend.callback(id, is ? GLFW_CONNECTED : GLFW_DISCONNECTED);
    }
}

const Pad* Find(int jid) {
    if (jid < 0 || jid >= kIds || !pretend.now->present[jid]) return nullptr;
    return &pretend.now->pads[jid];
}

bool Fits(const Input& in, const Pad& pad) {
    switch (in.kind) {
        case 'a': return in.index < int(pad.axes.size());
        case 'b': return in.index < int(pad.buttons.size());
        case 'h': return in.index < int(pad.hats.size());
        default: return true;
    }
}

// The mapping that applies to the pad: added ones first, then those of the file.
const Mapping* MappingOf(const Pad& pad) {
    std::string guid = pad.guid;
    std::transform(guid.begin(), guid.end(), guid.begin(), ::tolower);
    auto added = pretend.added.find(guid);
    const Mapping* m = nullptr;
    if (added != pretend.added.end()) {
        m = &added->second;
    } else {
        auto known = pretend.now->mappings.find(guid);
        if (known != pretend.now->mappings.end()) m = &known->second;
    }
    if (!m) return nullptr;
    for (const Input& in : m->buttons) {
        if (!Fits(in, pad)) return nullptr;
    }
    for (const Input& in : m->axes) {
        if (!Fits(in, pad)) return nullptr;
    }
    return m;
}

// An input read as an axis value, -1 to 1.
float AxisValue(const Input& in, const Pad& pad) {
    switch (in.kind) {
        case 'a': return std::clamp(pad.axes[in.index] * in.scale + in.offset, -1.0f, 1.0f);
        case 'b': return pad.buttons[in.index] ? 1.0f : -1.0f;
        case 'h': return (pad.hats[in.index] & in.bit) ? 1.0f : -1.0f;
        default: return 0;
    }
}

}  // namespace

extern "C" {

int glfwJoystickPresent(int jid) {
    Refresh();
    return Find(jid) ? GLFW_TRUE : GLFW_FALSE;
}

void glfwPollEvents(void) {
    Refresh();
    static auto real = reinterpret_cast<void (*)(void)>(dlsym(RTLD_NEXT, "glfwPollEvents"));
    if (real) real();
}

const float* glfwGetJoystickAxes(int jid, int* count) {
    const Pad* pad = Find(jid);
    *count = pad ? int(pad->axes.size()) : 0;
    return pad ? pad->axes.data() : nullptr;
}

const unsigned char* glfwGetJoystickButtons(int jid, int* count) {
    const Pad* pad = Find(jid);
    *count = pad ? int(pad->buttons.size()) : 0;
    return pad ? pad->buttons.data() : nullptr;
}

const unsigned char* glfwGetJoystickHats(int jid, int* count) {
    const Pad* pad = Find(jid);
    *count = pad ? int(pad->hats.size()) : 0;
    return pad ? pad->hats.data() : nullptr;
}

const char* glfwGetJoystickName(int jid) {
    const Pad* pad = Find(jid);
    return pad ? pad->name.c_str() : nullptr;
}

const char* glfwGetJoystickGUID(int jid) {
    const Pad* pad = Find(jid);
    return pad ? pad->guid.c_str() : nullptr;
}

int glfwJoystickIsGamepad(int jid) {
    const Pad* pad = Find(jid);
    return pad && MappingOf(*pad) ? GLFW_TRUE : GLFW_FALSE;
}

const char* glfwGetGamepadName(int jid) {
    const Pad* pad = Find(jid);
    const Mapping* m = pad ? MappingOf(*pad) : nullptr;
    return m ? m->name.c_str() : nullptr;
}

int glfwGetGamepadState(int jid, GLFWgamepadstate* state) {
    *state = GLFWgamepadstate{};
    const Pad* pad = Find(jid);
    const Mapping* m = pad ? MappingOf(*pad) : nullptr;
    if (!m) return GLFW_FALSE;
    for (int b = 0; b <= GLFW_GAMEPAD_BUTTON_LAST; ++b) {
        const Input& in = m->buttons[b];
        state->buttons[b] = in.kind && AxisValue(in, *pad) > 0 ? GLFW_PRESS : GLFW_RELEASE;
    }
    for (int a = 0; a <= GLFW_GAMEPAD_AXIS_LAST; ++a) state->axes[a] = AxisValue(m->axes[a], *pad);
    return GLFW_TRUE;
}

int glfwUpdateGamepadMappings(const char* text) {
    std::istringstream in(text ? text : "");
    for (std::string line; std::getline(in, line);) {
        std::string guid;
        Mapping mapping;
        if (ParseMapping(line, guid, mapping)) pretend.added[guid] = mapping;
    }
    return GLFW_TRUE;
}

GLFWjoystickfun glfwSetJoystickCallback(GLFWjoystickfun callback) {
    GLFWjoystickfun previous = pretend.callback;
    pretend.callback = callback;
    return previous;
}

}  // extern "C"
