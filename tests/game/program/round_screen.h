// What a round shows in a 640 x 480 window, as the whole-program tests read it: the
// backdrop, the fighters' shadows on the floor, the players' health bars and the tags over
// their fighters.
#pragma once

#include <cstdlib>
#include <set>
#include <vector>

#include "tests/support/screen_capture.h"

inline int Distance(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// Distinct colours over a rectangle, sampled every `step` pixels: a picture has many, a
// clear colour one.
inline size_t DistinctColours(const ScreenCapture& p, int x0, int y0, int x1, int y1, int step) {
    std::set<int> colours;
    for (int y = y0; y < y1; y += step) {
        for (int x = x0; x < x1; x += step) {
            const Rgb c = p.At(x, y);
            colours.insert(c.r << 16 | c.g << 8 | c.b);
        }
    }
    return colours.size();
}

// Distinct colours over the play field: a backdrop picture has hundreds, a clear colour one.
inline size_t PlayFieldColours(const ScreenCapture& p) {
    return DistinctColours(p, 0, 100, 640, 380, 4);
}

// The palette colours players 1-4 wear: red, orange, yellow, green.
inline Rgb PlayerColour(int player) {
    static const Rgb kColours[] = {{255, 25, 25}, {255, 127, 25}, {255, 255, 25}, {25, 255, 25}};
    return kColours[player - 1];
}

// A colour drawn at alpha 0.9 over something dark.
inline bool NearlyOpaque(Rgb c, Rgb colour) {
    return Near(c, colour.r * 9 / 10, colour.g * 9 / 10, colour.b * 9 / 10, 40);
}

// Player p's health bar under the score, in its colour: 198 pixels wide at full health.
inline int HealthBar(const ScreenCapture& p, int player) {
    int lit = 0;
    for (int x = 225; x < 415; ++x)
        lit += NearlyOpaque(p.At(x, 16 * player + 38), PlayerColour(player));
    return lit;
}

// Player p's tag over its fighter: the middle of its plate's underline, 20 pixels wide and
// two high in the player's colour, which no opponent wears (only the sparks thrown from a
// hit player, for a moment). Pixels of that colour already in `before` (the backdrop's own,
// a join prompt) do not count, nor do the health bars above the play field. x is -1 when
// the tag does not show, as while sparks or an opponent's blow cover it.
struct Tag {
    int x = -1, y = -1;
    bool operator==(const Tag& o) const { return x == o.x && y == o.y; }
};

inline Tag PlayerTag(const ScreenCapture& before, const ScreenCapture& now, int player) {
    const Rgb colour = PlayerColour(player);
    const auto underline = [&](int x, int y) {
        return NearlyOpaque(now.At(x, y), colour) && !NearlyOpaque(before.At(x, y), colour);
    };
    for (int y = 110; y + 1 < now.height; ++y) {
        int run = 0;
        for (int x = 0; x <= now.width; ++x) {
            if (x < now.width && underline(x, y)) {
                ++run;
                continue;
            }
            if (run >= 16 && run <= 24) {
                int below = 0;
                for (int i = x - run; i < x; ++i) below += underline(i, y + 1);
                if (below >= run - 2) return {x - run / 2, y};
            }
            run = 0;
        }
    }
    return {};
}

// A shadow on the floor band: a run of columns darkened to about 65 percent since `before`.
struct Shadow {
    int pixels = 0;
    int x = 0;  // mean column
};

inline bool Darkened(Rgb before, Rgb after) {
    // The shadow is black at alpha 0.35: every channel keeps about 65 percent.
    int channels[3][2] = {{before.r, after.r}, {before.g, after.g}, {before.b, after.b}};
    int bright = 0;
    for (auto& c : channels) {
        if (c[0] < 40) continue;
        ++bright;
        double kept = double(c[1]) / c[0];
        if (kept < 0.55 || kept > 0.75) return false;
    }
    return bright > 0;
}

// Every fighter casts one, opponents too, so the shadows are told apart by their columns.
inline std::vector<Shadow> FloorShadows(const ScreenCapture& before, const ScreenCapture& now) {
    std::vector<Shadow> shadows;
    Shadow current;
    long sum = 0;
    auto close = [&] {
        current.x = int(sum / current.pixels);
        if (current.pixels >= 20) shadows.push_back(current);
        current = Shadow();
        sum = 0;
    };
    int gap = 0;
    for (int x = 40; x < 600; ++x) {
        int column = 0;
        for (int y = 428; y < 437; ++y) column += Darkened(before.At(x, y), now.At(x, y)) ? 1 : 0;
        if (column > 0) {
            current.pixels += column;
            sum += long(x) * column;
            gap = 0;
        } else if (current.pixels > 0 && ++gap > 4) {
            close();
        }
    }
    if (current.pixels > 0) close();
    return shadows;
}

// The shadow nearest to column x, or none.
inline Shadow NearestShadow(const std::vector<Shadow>& shadows, int x) {
    Shadow nearest;
    for (const Shadow& s : shadows) {
        if (nearest.pixels == 0 || std::abs(s.x - x) < std::abs(nearest.x - x)) nearest = s;
    }
    return nearest;
}
