#include "host/web_drawing_scale.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDisplayPeriod = 1.0 / 60.0;
// A look at the pace lasts this long (and a few frames at least); its typical frame, the
// median, decides, so a single long frame (a picture loaded) does not.
constexpr double kLookSeconds = 0.5;
constexpr int kLeastFrames = 4;
// Typical frames beyond this are slow, within this are at the display's pace.
constexpr double kSlow = 1.25 * kDisplayPeriod;
constexpr double kAtPace = 1.1 * kDisplayPeriod;
// A shrink aims at a store the machine fills at the pace (the fill time follows the area),
// by a step within these bounds; a growth is one fixed step.
constexpr double kLeastShrink = 0.5, kMostShrink = 0.9;
constexpr double kGrowth = 1.15;
// Growth stops this far under a scale found slow, for this long after.
constexpr double kBelowSlow = 0.9;
constexpr double kSlowKept = 20.0;
// The frames after a change carry its own cost (a new store to fill).
constexpr int kSettleFrames = 6;

}  // namespace

void QvDrawingScale::SetFloor(double floor) {
    _floor = std::min(1.0, floor);
    Change(_started ? std::max(_scale, _floor) : _floor);
    _started = true;
}

bool QvDrawingScale::OnFrame(double seconds) {
    _sinceSlow += seconds;
    if (_settling > 0) {
        --_settling;
        return false;
    }
    _look[_frames++] = seconds;
    _lookSeconds += seconds;
    if (_frames < kMaxLook && (_lookSeconds < kLookSeconds || _frames < kLeastFrames)) {
        return false;
    }
    std::nth_element(_look, _look + _frames / 2, _look + _frames);
    const double typical = _look[_frames / 2];
    _frames = 0;
    _lookSeconds = 0.0;
    const double before = _scale;
    if (typical > kSlow) {
        Shrink(typical);
    } else if (typical < kAtPace) {
        Grow();
    }
    return _scale != before;
}

void QvDrawingScale::Shrink(double typical) {
    _slowScale = _scale;
    _sinceSlow = 0.0;
    const double step = std::clamp(std::sqrt(kAtPace / typical), kLeastShrink, kMostShrink);
    Change(std::max(_floor, _scale * step));
}

void QvDrawingScale::Grow() {
    const double bound = _sinceSlow < kSlowKept ? _slowScale * kBelowSlow : 1.0;
    if (_scale < bound) Change(std::min(bound, _scale * kGrowth));
}

bool QvDrawingScale::Change(double scale) {
    if (scale == _scale) return false;
    _scale = scale;
    _settling = kSettleFrames;
    _frames = 0;
    _lookSeconds = 0.0;
    return true;
}

double QvPixelsPerUnit(int width, int height) {
    const double units = height > width ? 1.5 : 1.0;
    return std::max(width / (640 * units), height / (480 * units));
}
