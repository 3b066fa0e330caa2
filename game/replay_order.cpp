// The replay's order of the draw list (see replay_order.h).
#include "game/replay_order.h"

#include <algorithm>
#include <cmath>

#include "game/draw_command.h"
#include "game/my_app.h"
#include "graphics/image.h"

using namespace draw_command;

namespace {

constexpr int kMaxCommands = kDrawListFloats / kDrawCmdFloats;
// How many runs back a command may move: enough for a crowd of fighters and sparks, few
// enough to keep the search short.
constexpr int kLookBack = 16;
// Device pixels kept around each shape: rounding, and the width of a line.
constexpr float kMargin = 2;

struct Box {
    float x0, y0, x1, y1;

    bool Overlaps(const Box& b) const { return x0 < b.x1 && b.x0 < x1 && y0 < b.y1 && b.y0 < y1; }
    void Add(const Box& b) {
        x0 = std::min(x0, b.x0);
        y0 = std::min(y0, b.y0);
        x1 = std::max(x1, b.x1);
        y1 = std::max(y1, b.y1);
    }
};

Box Between(float xa, float ya, float xb, float yb) {
    return {std::min(xa, xb) - kMargin, std::min(ya, yb) - kMargin, std::max(xa, xb) + kMargin,
            std::max(ya, yb) + kMargin};
}

Box Around(float x, float y, float rx, float ry) { return Between(x - rx, y - ry, x + rx, y + ry); }

// Commands the device draws in one batch share a key: the picture slot or the kind of
// shape, an oval's radii (its number of vertices follows from them) and the blend.
struct Key {
    float kind, rx, ry;
    bool additive;

    bool operator==(const Key& k) const {
        return kind == k.kind && rx == k.rx && ry == k.ry && additive == k.additive;
    }
};

Key KeyOf(const float* cmd) {
    const bool oval = ShapeOf(cmd[kKind]) == Shape::kOval;
    return {cmd[kKind], oval ? cmd[kWidth] : 0, oval ? cmd[kHeight] : 0,
            cmd[kBlend] == kBlendAdditive};
}

// The window area a command may touch; false when it draws nothing. Colours are
// premultiplied, so a command without alpha leaves every pixel as it was.
bool Extent(const c_MyApp& g, const ScreenMapping& m, const float* cmd, Box* box) {
    if (!(cmd[kAlpha] > 0)) return false;
    const Shape shape = ShapeOf(cmd[kKind]);
    const float x = m.o + m.sx * cmd[kX];
    const float y = m.oy + m.sy * cmd[kY];
    if (shape == Shape::kRect) {
        *box = Between(x, y, x + m.sx * cmd[kWidth], y + m.sy * cmd[kHeight]);
    } else if (shape == Shape::kOval) {
        *box = Around(x, y, std::fabs(m.sx * cmd[kWidth]), std::fabs(m.sy * cmd[kHeight]));
    } else if (shape == Shape::kLine) {
        *box = Between(x, y, m.o + m.sx * cmd[kWidth], m.oy + m.sy * cmd[kHeight]);
    } else if (shape == Shape::kPicture) {
        const int slot = int(cmd[kKind]);
        const c_Image* image = slot < g.m_Img.Length() ? g.m_Img[slot] : nullptr;
        if (!image) return false;
        // However it turns, the frame stays within its farthest corner's reach of the handle.
        const float dx = std::max(image->m_handleX, image->m_width - image->m_handleX) *
                         std::fabs(cmd[kWidth] * m.sx * g.m_ImgScale);
        const float dy = std::max(image->m_handleY, image->m_height - image->m_handleY) *
                         std::fabs(cmd[kHeight] * m.sy * g.m_ImgScale);
        const float reach = std::sqrt(dx * dx + dy * dy);
        *box = Around(x, y, reach, reach);
    } else {
        return false;
    }
    return box->Overlaps({0, 0, m.w, m.h});
}

// A run of commands drawn together, linked through nextInRun.
struct Run {
    Key key;
    Box box;  // everything the run draws
    int first, last;
};

Run runs[kMaxCommands];
int nextInRun[kMaxCommands];
int starts[kMaxCommands];

}  // namespace

ReplayOrder OrderDrawList(const c_MyApp& g, const ScreenMapping& map) {
    const float* list = g.m_DrawList.Data();
    int runCount = 0;
    for (int start = 0; start + kDrawCmdFloats <= g.m_DrawLen; start += kDrawCmdFloats) {
        const float* cmd = list + start;
        Box box;
        if (!Extent(g, map, cmd, &box)) continue;
        const int c = start / kDrawCmdFloats;
        const Key key = KeyOf(cmd);
        // The latest run of the same key, unless a run after it overlaps this command.
        int into = -1;
        for (int r = runCount - 1; r >= 0 && r >= runCount - kLookBack; --r) {
            if (runs[r].key == key) {
                into = r;
                break;
            }
            if (runs[r].box.Overlaps(box)) break;
        }
        nextInRun[c] = -1;
        if (into < 0) {
            runs[runCount++] = {key, box, c, c};
            continue;
        }
        Run& run = runs[into];
        nextInRun[run.last] = c;
        run.last = c;
        run.box.Add(box);
    }
    int count = 0;
    for (int r = 0; r < runCount; ++r) {
        for (int c = runs[r].first; c >= 0; c = nextInRun[c]) starts[count++] = c * kDrawCmdFloats;
    }
    return {starts, count};
}
