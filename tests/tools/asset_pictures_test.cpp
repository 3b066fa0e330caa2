// The pictures in the data folder: every file the game loads exists at each resolution set,
// decodes, holds its frames in rows of the game's cell size, and the three sets agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/tools/png_reader.h"

namespace {

struct PictureSpec {
    const char* name;
    int cellW, cellH, frames;
};

// Base name, cell size at set 1 and frame count of every picture the loader asks for.
const PictureSpec kPictures[] = {
    {"plr_1", 36, 36, 9},
    {"plr_2", 36, 36, 9},
    {"plr_3", 36, 36, 9},
    {"plr_4", 36, 36, 9},
    {"plr_5", 36, 36, 9},
    {"plr_6", 36, 36, 9},
    {"plr_7", 36, 36, 9},
    {"plr_8", 36, 36, 9},
    {"plr_9", 36, 36, 9},
    {"logotop", 256, 128, 1},
    {"logobot", 256, 128, 1},
    {"BadgesA", 64, 64, 64},
    {"common/circle", 256, 256, 4},
    {"common/light", 32, 32, 4},
    {"fonts/shadow_editundo", 16, 16, 128},
    {"common/DorpLogo", 256, 256, 1},
    {"common/dpad", 32, 32, 16},
    {"common/Buttons", 64, 64, 16},
    {"parts", 8, 8, 256},
    {"common/icons", 32, 32, 16},
    {"logo", 256, 128, 1},
    {"menu", 256, 256, 4},
};

struct ResolutionSet {
    int scale;
    const char* suffix;
};
const ResolutionSet kSets[] = {{1, ""}, {2, "-hd"}, {4, "-hd2"}};

std::string FileOf(const PictureSpec& p, const ResolutionSet& s) {
    return std::string("data/") + p.name + s.suffix + ".png";
}

struct Cell {
    int x, y;
};

// Frame positions as the image loader walks them: left to right, then down a row when the
// next cell would cross the right edge. Empty when a frame would leave the picture.
std::vector<Cell> FrameCells(int w, int h, int cw, int ch, int frames) {
    std::vector<Cell> cells;
    int cx = 0, cy = 0;
    for (int i = 0; i < frames; ++i) {
        if (cx + cw > w) {
            cy += ch;
            if (cw > w) return {};
            cx = 0;
        }
        if (cy + ch > h) return {};
        cells.push_back({cx, cy});
        cx += cw;
    }
    return cells;
}

// Mean alpha (0..1) of one cell, and its alpha-weighted mean colour.
struct CellStats {
    double coverage = 0, r = 0, g = 0, b = 0;
};

CellStats Stats(const Pixels& px, Cell c, int cw, int ch) {
    double a = 0, r = 0, g = 0, b = 0;
    for (int y = c.y; y < c.y + ch; ++y)
        for (int x = c.x; x < c.x + cw; ++x) {
            const uint8_t* p = &px.rgba[(size_t(y) * px.width + x) * 4];
            double al = p[3] / 255.0;
            a += al;
            r += p[0] * al;
            g += p[1] * al;
            b += p[2] * al;
        }
    CellStats s;
    s.coverage = a / (double(cw) * ch);
    if (a > 0) s.r = r / a, s.g = g / a, s.b = b / a;
    return s;
}

// Rows [top, bottom) of a cell that hold any visible pixel.
bool InkInRows(const Pixels& px, Cell c, int cw, int top, int bottom) {
    for (int y = c.y + top; y < c.y + bottom; ++y)
        for (int x = c.x; x < c.x + cw; ++x)
            if (px.Alpha(x, y) > 32) return true;
    return false;
}

TEST(AssetPictures, EveryPictureHoldsItsFramesAtEverySetAndTheSetsAgree) {
    for (const PictureSpec& p : kPictures) {
        Pixels base;
        std::vector<Cell> baseCells;
        for (const ResolutionSet& s : kSets) {
            SCOPED_TRACE(FileOf(p, s));
            Pixels px = ReadPng(FileOf(p, s));
            ASSERT_TRUE(px.Ok()) << "missing or undecodable";
            int cw = p.cellW * s.scale, ch = p.cellH * s.scale;
            EXPECT_EQ(px.width % cw, 0);
            EXPECT_EQ(px.height % ch, 0);
            std::vector<Cell> cells = FrameCells(px.width, px.height, cw, ch, p.frames);
            ASSERT_EQ(int(cells.size()), p.frames) << px.width << "x" << px.height;
            if (s.scale == 1) base = px, baseCells = cells;
            for (int f = 0; f < p.frames; ++f) {
                CellStats b = Stats(px, cells[f], cw, ch);
                bool blankAllowed = std::string(p.name) == "fonts/shadow_editundo" && f == 0;
                if (!blankAllowed) {
                    EXPECT_GT(b.coverage, 0.0) << "frame " << f << " is empty";
                }
                if (s.scale == 1) continue;
                // The larger sets show the same frames as the first.
                CellStats a = Stats(base, baseCells[f], p.cellW, p.cellH);
                EXPECT_NEAR(a.coverage, b.coverage, 0.08) << "frame " << f;
                if (a.coverage > 0.05 && b.coverage > 0.05) {
                    EXPECT_NEAR(a.r, b.r, 40) << "frame " << f;
                    EXPECT_NEAR(a.g, b.g, 40) << "frame " << f;
                    EXPECT_NEAR(a.b, b.b, 40) << "frame " << f;
                }
            }
        }
    }
}

TEST(AssetPictures, BackdropsCoverTheWholeScreen) {
    // Drawn at size 3 behind the round, every pixel shows: no see-through holes.
    for (const ResolutionSet& s : kSets) {
        Pixels px = ReadPng(std::string("data/menu") + s.suffix + ".png");
        ASSERT_TRUE(px.Ok());
        int holes = 0;
        for (int y = 0; y < px.height; ++y)
            for (int x = 0; x < px.width; ++x) holes += px.Alpha(x, y) < 255;
        EXPECT_EQ(holes, 0) << s.suffix;
    }
}

std::vector<Cell> FighterCells(const Pixels& px, int scale) {
    return FrameCells(px.width, px.height, 36 * scale, 36 * scale, 9);
}

TEST(AssetPictures, FightersFillTheirCellsStandOnTheirFloorAndLieLow) {
    for (int slot = 1; slot <= 9; ++slot)
        for (const ResolutionSet& s : kSets) {
            std::string file = "data/plr_" + std::to_string(slot) + s.suffix + ".png";
            SCOPED_TRACE(file);
            Pixels px = ReadPng(file);
            ASSERT_TRUE(px.Ok());
            int cell = 36 * s.scale;
            std::vector<Cell> cells = FighterCells(px, s.scale);
            ASSERT_EQ(cells.size(), 9u);
            // A fighter is some 25 pixels tall in a 640x480 window: a slim figure in a mostly
            // empty cell is lost in a crowd, so the standing figure covers a good part of it.
            EXPECT_GE(Stats(px, cells[0], cell, cell).coverage, 0.3);
            // Standing frames touch the bottom rows, where the shadow is drawn.
            for (int f : {0, 1, 2, 3, 4, 5, 7})
                EXPECT_TRUE(InkInRows(px, cells[f], cell, cell - 3 * s.scale, cell))
                    << "frame " << f;
            // The knocked-out body lies in the lower half, which the game squashes to the floor.
            EXPECT_FALSE(InkInRows(px, cells[8], cell, 0, cell * 4 / 10)) << "frame 8";
            EXPECT_TRUE(InkInRows(px, cells[8], cell, cell / 2, cell)) << "frame 8";
        }
}

// How a fighter's frame reads on screen: mean brightness (HSV value) of its opaque pixels,
// mean luminance of its edge (opaque pixels next to a see-through one) and the direction
// of its saturated colours on the hue circle.
struct FighterLook {
    double brightness = 0, edgeLuminance = 0, hueX = 0, hueY = 0;
    double Hue() const { return std::atan2(hueY, hueX) * 180 / M_PI; }
};

FighterLook LookOf(const Pixels& px, Cell c, int cell) {
    auto opaque = [&](int x, int y) {
        return x >= c.x && y >= c.y && x < c.x + cell && y < c.y + cell && px.Alpha(x, y) >= 128;
    };
    FighterLook look;
    int n = 0, edges = 0;
    for (int y = c.y; y < c.y + cell; ++y)
        for (int x = c.x; x < c.x + cell; ++x) {
            if (!opaque(x, y)) continue;
            const uint8_t* p = &px.rgba[(size_t(y) * px.width + x) * 4];
            double r = p[0] / 255.0, g = p[1] / 255.0, b = p[2] / 255.0;
            double hi = std::max({r, g, b}), lo = std::min({r, g, b});
            look.brightness += hi;
            ++n;
            if (!opaque(x - 1, y) || !opaque(x + 1, y) || !opaque(x, y - 1) || !opaque(x, y + 1)) {
                look.edgeLuminance += 0.299 * r + 0.587 * g + 0.114 * b;
                ++edges;
            }
            if (hi > 0.45 && hi - lo > 0.45 * hi) {
                double hue = hi == r   ? (g - b) / (hi - lo)
                             : hi == g ? 2 + (b - r) / (hi - lo)
                                       : 4 + (r - g) / (hi - lo);
                look.hueX += std::cos(hue * M_PI / 3);
                look.hueY += std::sin(hue * M_PI / 3);
            }
        }
    if (n) look.brightness /= n;
    if (edges) look.edgeLuminance /= edges;
    return look;
}

TEST(AssetPictures, PlayersStandOutFromTheGangAndFromEachOther) {
    // In every frame and every set, players 1..4 are brighter than the pictures the round
    // dresses its opponents in (5..8) and edged with a pale rim, where the gang's edge is a
    // darker glow that still reads well above the night arena's floor (about 0.15); and each
    // player's colours sit apart from the others' on the hue circle.
    for (const ResolutionSet& s : kSets) {
        std::vector<Pixels> pictures(9);
        for (int slot = 1; slot <= 8; ++slot) {
            pictures[slot] = ReadPng("data/plr_" + std::to_string(slot) + s.suffix + ".png");
            ASSERT_TRUE(pictures[slot].Ok()) << slot << s.suffix;
        }
        const int cell = 36 * s.scale;
        std::vector<double> hues;
        for (int player = 1; player <= 4; ++player) {
            const std::vector<Cell> cells = FighterCells(pictures[player], s.scale);
            for (int frame = 0; frame < 9; ++frame) {
                const FighterLook mine = LookOf(pictures[player], cells[frame], cell);
                EXPECT_GT(mine.edgeLuminance, 0.6)
                    << "plr_" << player << s.suffix << " frame " << frame;
                for (int opponent = 5; opponent <= 8; ++opponent) {
                    const FighterLook theirs = LookOf(
                        pictures[opponent], FighterCells(pictures[opponent], s.scale)[frame], cell);
                    EXPECT_TRUE(theirs.edgeLuminance > 0.35 &&
                                theirs.edgeLuminance < mine.edgeLuminance - 0.2)
                        << "plr_" << opponent << s.suffix << " frame " << frame << ": "
                        << theirs.edgeLuminance;
                    EXPECT_GT(mine.brightness, theirs.brightness + 0.1)
                        << "plr_" << player << " against plr_" << opponent << s.suffix << " frame "
                        << frame;
                }
            }
            hues.push_back(LookOf(pictures[player], cells[0], cell).Hue());
        }
        for (size_t a = 0; a < hues.size(); ++a)
            for (size_t b = a + 1; b < hues.size(); ++b) {
                double apart = std::fabs(std::remainder(hues[a] - hues[b], 360.0));
                EXPECT_GE(apart, 30) << "players " << a + 1 << " and " << b + 1 << s.suffix;
            }
    }
}

// The hue a fighter reads as: over its opaque pixels, each weighted by its colourfulness
// (the spread of its red, green and blue), the 10-degree slice of the hue circle with the
// most weight, refined to the weighted mean hue of that slice and its two neighbours. A
// big dull suit outweighs small bright eyes, as it does on screen.
double DominantHue(const Pixels& px, Cell c, int cell) {
    double weight[36] = {};
    std::vector<std::pair<double, double>> hued;  // hue in degrees, weight
    for (int y = c.y; y < c.y + cell; ++y)
        for (int x = c.x; x < c.x + cell; ++x) {
            if (px.Alpha(x, y) < 128) continue;
            const uint8_t* p = &px.rgba[(size_t(y) * px.width + x) * 4];
            const double r = p[0] / 255.0, g = p[1] / 255.0, b = p[2] / 255.0;
            const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
            if (hi - lo < 0.08) continue;  // grey: outline, white trim
            double hue = 60 * (hi == r   ? std::fmod((g - b) / (hi - lo) + 6, 6.0)
                               : hi == g ? 2 + (b - r) / (hi - lo)
                                         : 4 + (r - g) / (hi - lo));
            hued.push_back({hue, hi - lo});
            weight[int(hue / 10) % 36] += hi - lo;
        }
    const int peak = int(std::max_element(weight, weight + 36) - weight);
    double hx = 0, hy = 0;
    for (const auto& [hue, w] : hued) {
        const double off = std::remainder(hue - (10 * peak + 5), 360.0);
        if (std::fabs(off) > 15) continue;
        hx += w * std::cos(hue * M_PI / 180);
        hy += w * std::sin(hue * M_PI / 180);
    }
    return std::fmod(std::atan2(hy, hx) * 180 / M_PI + 360, 360.0);
}

double HueApart(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); }

TEST(AssetPictures, EachPlayerWearsItsBarsColourAndNoOpponentWearsAPlayers) {
    // The health bars' colours: red, orange, yellow and green (the game's palette 1..4).
    const double kBarHues[] = {0, 26.7, 60, 120};
    constexpr double kTolerance = 12;
    for (const ResolutionSet& s : kSets) {
        const int cell = 36 * s.scale;
        for (int slot = 1; slot <= 8; ++slot) {
            const std::string file = "data/plr_" + std::to_string(slot) + s.suffix + ".png";
            const Pixels px = ReadPng(file);
            ASSERT_TRUE(px.Ok()) << file;
            for (int frame : {0, 4, 6, 8}) {
                const double hue = DominantHue(px, FighterCells(px, s.scale)[frame], cell);
                for (int player = 1; player <= 4; ++player) {
                    const double apart = HueApart(hue, kBarHues[player - 1]);
                    if (slot == player) {
                        EXPECT_LE(apart, kTolerance) << file << " frame " << frame << ": " << hue;
                    } else if (slot > 4) {
                        EXPECT_GT(apart, kTolerance) << file << " frame " << frame << ": " << hue
                                                     << " is player " << player << "'s";
                    }
                }
            }
        }
    }
}

TEST(AssetPictures, DefaultFontHasClearBordersAroundEachGlyph) {
    Pixels px = ReadPng("data/tarn_font.png");
    ASSERT_TRUE(px.Ok());
    ASSERT_EQ(px.width % 96, 0);
    int cw = px.width / 96;
    ASSERT_GE(cw, 4);
    for (int i = 0; i < 96; ++i) {
        int left = i * cw, right = left + cw - 1;
        for (int y = 0; y < px.height; ++y) {
            ASSERT_EQ(px.Alpha(left, y), 0) << "code " << 32 + i;
            ASSERT_EQ(px.Alpha(right, y), 0) << "code " << 32 + i;
        }
        bool printable = i > 0 && i < 95;
        EXPECT_EQ(InkInRows(px, {left, 0}, cw, 0, px.height), printable) << "code " << 32 + i;
    }
}

TEST(AssetPictures, GameFontGlyphsFitTheLineHeight) {
    // Glyphs are drawn about the cell's middle and lines are 10 units apart: capitals,
    // descenders and the one-row shadow stay clear of the top two and the bottom row.
    for (const ResolutionSet& s : kSets) {
        Pixels px = ReadPng(std::string("data/fonts/shadow_editundo") + s.suffix + ".png");
        ASSERT_TRUE(px.Ok());
        int cell = 16 * s.scale;
        std::vector<Cell> cells = FrameCells(px.width, px.height, cell, cell, 128);
        ASSERT_EQ(cells.size(), 128u);
        for (char ch : std::string("AMWgjpqy09")) {
            int f = ch - 32;
            EXPECT_FALSE(InkInRows(px, cells[f], cell, 0, 2 * s.scale))
                << ch << " at set " << s.scale;
            EXPECT_FALSE(InkInRows(px, cells[f], cell, cell - s.scale, cell))
                << ch << " at set " << s.scale;
        }
    }
}

}  // namespace
