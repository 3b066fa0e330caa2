// The console lines about pads coming and going, limited per window of updates.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "host/pad_reports.h"
#include "tests/game/scripted_pads.h"

namespace {

// Two pads swapping every update for three windows, then one staying: a window prints at
// most its share of lines and one counting the rest, and every change is told.
TEST(PadReports, PadsComingAndGoingEveryUpdateArePrintedUpToAShareAndCounted) {
    ScriptedPads source;
    QvPadReports reports;
    int before[key_space::kPorts] = {-1, -1, -1, -1}, changes = 0, told = 0, printed = 0;
    const std::string kLeftOut = "Game pad lines left out: ";
    std::string line, leftOut;
    for (int update = 0; update < 5 * kPadWindowUpdates; ++update) {
        const bool swap = update % 2 && update < 3 * kPadWindowUpdates;
        const int after[key_space::kPorts] = {swap ? -1 : 0, swap ? 5 : -1, -1, -1};
        changes += (before[0] != after[0]) + (before[1] != after[1]);  // one line each
        for (const String& said : reports.Update(before, after, source)) {
            line = said.ToUtf8();
            if (line.rfind(kLeftOut, 0) != 0) ++printed;
            else told += std::stoi((leftOut = line).substr(kLeftOut.size()));
        }
        for (int port = 0; port < key_space::kPorts; ++port) before[port] = after[port];
        if ((update + 1) % kPadWindowUpdates) continue;
        EXPECT_LE(printed, kPadLinesPerWindow) << update;
        told += std::exchange(printed, 0);
    }
    EXPECT_EQ(told, changes);
    EXPECT_EQ(leftOut, kLeftOut + "232 (pads came and went too often); pads in ports now: 2");
    EXPECT_EQ(line, "Game pad 2 disconnected");
}

}  // namespace
