// The state file of the pretend pads (see pretend_pads.h).
#include "tests/support/pretend_pads.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/process.h"

const char* const PretendPads::kGamepadGuid = "03000000567272005061640000000000";

namespace {

const std::string kGamepadMapping =
    std::string(PretendPads::kGamepadGuid) +
    ",Pretend Gamepad,a:b0,b:b1,x:b2,y:b3,leftshoulder:b4,rightshoulder:b5,back:b6,"
    "start:b7,guide:b8,leftstick:b9,rightstick:b10,dpup:h0.1,dpright:h0.2,dpdown:h0.4,"
    "dpleft:h0.8,leftx:a0,lefty:a1,lefttrigger:a2,rightx:a3,righty:a4,righttrigger:a5,"
    "platform:Linux,";

template <class T>
void Values(std::ostream& out, const char* key, const std::vector<T>& values) {
    out << key;
    for (const T& v : values) out << ' ' << v;
    out << '\n';
}

}  // namespace

PretendPads::Pad PretendPads::Gamepad() {
    Pad pad;
    pad.axes = {0, 0, -1, 0, 0, -1};
    pad.buttons.assign(11, 0);
    pad.hats = {0};
    return pad;
}

PretendPads::PretendPads(std::string path) : path_(std::move(path)) { Write(); }

std::map<std::string, std::string> PretendPads::Environment() const {
    const char* asan = std::getenv("ASAN_OPTIONS");
    return {
        {"LD_PRELOAD", BuiltProgram("libvortan_pretend_pads.so")},
        {"VORTAN_PRETEND_PADS", path_},
        // A sanitized program finds the preloaded library ahead of its runtime.
        {"ASAN_OPTIONS", std::string(asan ? asan : "") + ":verify_asan_link_order=0"},
    };
}

PretendPads::Pad& PretendPads::Plug(int id, Pad pad) { return pads_[id] = std::move(pad); }

void PretendPads::Unplug(int id) { pads_.erase(id); }

void PretendPads::Write() const {
    std::ostringstream out;
    out << "mapping " << kGamepadMapping << '\n';
    for (const std::string& line : mappings_) out << "mapping " << line << '\n';
    for (const auto& [id, pad] : pads_) {
        out << "pad " << id << "\nname " << pad.name << "\nguid " << pad.guid << '\n';
        Values(out, "axes", pad.axes);
        Values(out, "buttons", pad.buttons);
        if (!pad.hats.empty()) Values(out, "hats", pad.hats);
    }
    const std::string temporary = path_ + ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << out.str();
    }
    std::rename(temporary.c_str(), path_.c_str());
}
