// The console lines about game pads coming and going, limited so that a pad plugged in
// and pulled out every update (a loose cable, a flaky hub) cannot flood the console: at
// most kPadLinesPerWindow lines in each window of kPadWindowUpdates updates. When lines
// were left out in a window, one line at its end counts them and says which ports hold a
// pad now, so the console's last word stays true.
#pragma once

#include <vector>

#include "host/joystick_source.h"
#include "host/key_space.h"

// Two seconds at the game's 60 updates a second; every port coming and going once.
constexpr int kPadWindowUpdates = 120;
constexpr int kPadLinesPerWindow = 2 * key_space::kPorts;

class QvPadReports {
public:
    // Once an update: the joystick id serving each port before and after this update's
    // poll (-1 for none); the lines to print now.
    std::vector<String> Update(const int before[key_space::kPorts],
                               const int after[key_space::kPorts], QvJoystickSource& source);

private:
    int updates_ = 0;  // in this window
    int printed_ = 0;
    int leftOut_ = 0;
};
