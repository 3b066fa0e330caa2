// The console lines about pads coming and going, limited per window of updates.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/pad_reports.h"

namespace {

struct NamedPads : QvJoystickSource {
    bool Present(int) override { return true; }
    QvRawPad Read(int) override { return {}; }
    String Name(int id) override { return String("Pad ") + String(id); }
};

// Two pads that swap every update for three windows, then one that stays: each window
// prints at most its share of lines and one line counting the rest, every change is
// either printed or counted, and the console's last word is the truth.
TEST(PadReports, PadsComingAndGoingEveryUpdateAreCountedNotEachPrinted) {
    NamedPads source;
    QvPadReports reports;
    int ports[key_space::kPorts] = {-1, -1, -1, -1};
    int changes = 0, printed = 0, counted = 0, windowPadLines = 0, windowSummaries = 0;
    std::vector<std::string> lines;
    const std::string kLeftOut = "Game pad lines left out: ";
    for (int update = 0; update < 5 * kPadWindowUpdates; ++update) {
        const bool swapping = update < 3 * kPadWindowUpdates;
        int now[key_space::kPorts] = {update % 2 && swapping ? -1 : 0,
                                      update % 2 && swapping ? 5 : -1, -1, -1};
        for (int p = 0; p < key_space::kPorts; ++p)
            changes += ports[p] == now[p] ? 0 : (ports[p] != -1) + (now[p] != -1);
        for (const String& line : reports.Update(ports, now, source)) {
            lines.push_back(line.ToUtf8());
            const bool summary = lines.back().rfind(kLeftOut, 0) == 0;
            windowSummaries += summary;
            windowPadLines += !summary;
            printed += !summary;
            if (summary) counted += std::stoi(lines.back().substr(kLeftOut.size()));
        }
        std::copy(now, now + key_space::kPorts, ports);
        if ((update + 1) % kPadWindowUpdates == 0) {
            EXPECT_LE(windowPadLines, kPadLinesPerWindow) << update;
            EXPECT_EQ(windowSummaries, update < 3 * kPadWindowUpdates ? 1 : 0) << update;
            windowPadLines = windowSummaries = 0;
        }
    }
    EXPECT_EQ(printed + counted, changes);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{kLeftOut +
                                            "232 (pads came and went too often); pads in ports "
                                            "now: 2",
                                        "Game pad 1 connected: Pad 0", "Game pad 2 disconnected"}));
}

}  // namespace
