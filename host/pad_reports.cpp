#include "host/pad_reports.h"

namespace {

// The lines for a port whose pad changed from `from` to `to`: one going, one coming.
int LinesFor(int from, int to) { return from == to ? 0 : (from != -1) + (to != -1); }

String Pad(int port) { return String("Game pad ") + String(port + 1); }

}  // namespace

std::vector<String> QvPadReports::Update(const int before[key_space::kPorts],
                                         const int after[key_space::kPorts],
                                         QvJoystickSource& source) {
    std::vector<String> lines;
    int wanted = 0;
    for (int port = 0; port < key_space::kPorts; ++port)
        wanted += LinesFor(before[port], after[port]);
    if (printed_ + wanted <= kPadLinesPerWindow) {
        printed_ += wanted;
        for (int port = 0; port < key_space::kPorts; ++port) {
            if (before[port] == after[port]) continue;
            if (before[port] != -1) lines.push_back(Pad(port) + " disconnected");
            if (after[port] != -1)
                lines.push_back(Pad(port) + " connected: " + source.Name(after[port]));
        }
    } else {
        leftOut_ += wanted;
    }
    if (++updates_ < kPadWindowUpdates) return lines;
    if (leftOut_ > 0) {
        String now;
        for (int port = 0; port < key_space::kPorts; ++port) {
            if (after[port] != -1)
                now = now + (now.Length() ? String(", ") : String()) + String(port + 1);
        }
        lines.push_back(String("Game pad lines left out: ") + String(leftOut_) +
                        " (pads came and went too often); pads in ports now: " +
                        (now.Length() ? now : String("none")));
    }
    updates_ = printed_ = 0;
    leftOut_ = 0;
    return lines;
}
