// Every screen at the sizes players use, read from the draw list without a window: each
// text line and picture gives a box (a picture's box is the part of its cell its picture
// file inks), and the things that must not meet do not, and none is cut off by the
// screen's edges. The loading screen, the title menu in each column, the credits panel,
// the options box, the Controls screen, the "Quit?" question, a round with its score
// display, the players' tags and late prompts, the pause panel and the game-over panel with
// "New Highscore" and the players' rows are each checked at every size.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <stb/stb_image.h>  // the decoder the host builds in

#include "game/bindings.h"
#include "game/round_records.h"
#include "tests/game/front_end_fixture.h"

namespace {

using namespace round_records;

struct Box {
    float x0, y0, x1, y1;
};

// Touching edges do not count: half a unit of overlap on both axes does.
bool Meet(const Box& a, const Box& b) {
    const float across = std::min(a.x1, b.x1) - std::max(a.x0, b.x0);
    const float down = std::min(a.y1, b.y1) - std::max(a.y0, b.y0);
    return across > 0.5f && down > 0.5f;
}

Box Union(const Box& a, const Box& b) {
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

std::string Describe(const Box& b) {
    std::ostringstream out;
    out << "(" << b.x0 << ", " << b.y0 << ")-(" << b.x1 << ", " << b.y1 << ")";
    return out.str();
}

// The part of a cell a picture inks, as fractions of the cell, and the farthest inked
// point from the cell's middle in fractions of its larger side (a round picture turned
// stays within that): pixels at least a quarter opaque count, so a glow's fringe does not.
struct Ink {
    float x0 = 0, y0 = 0, x1 = 1, y1 = 1;
    float radius = 0.7072f;
};

// The files behind the slots the screens draw; other slots count as wholly inked.
const std::map<int, std::string> kPictureFiles = {
    {picture::kTitleTop, "logotop"},          {picture::kTitleBottom, "logobot"},
    {picture::kMakerLogo, "common/DorpLogo"}, {picture::kButtons, "common/Buttons"},
    {picture::kIcons, "common/icons"},        {picture::kCircles, "common/circle"},
    {picture::kFirstPlayer, "plr_1"},         {picture::kFirstPlayer + 1, "plr_2"},
    {picture::kFirstPlayer + 2, "plr_3"},     {picture::kFirstPlayer + 3, "plr_4"},
};

// Inked parts of every cell of the picture files, read once per file and set.
const std::vector<Ink>& InkOf(int slot, int res, int cellW, int cellH) {
    static std::map<std::pair<int, int>, std::vector<Ink>> read;
    std::vector<Ink>& cells = read[{slot, res}];
    const auto file = kPictureFiles.find(slot);
    if (!cells.empty() || file == kPictureFiles.end() || cellW <= 0 || cellH <= 0) return cells;
    const char* suffix = res == 4 ? "-hd2" : res == 2 ? "-hd" : "";
    const std::string path = "data/" + file->second + suffix + ".png";
    int width = 0, height = 0, depth = 0;
    unsigned char* rgba = stbi_load(path.c_str(), &width, &height, &depth, 4);
    EXPECT_NE(rgba, nullptr) << path;
    for (int top = 0; rgba && top + cellH <= height; top += cellH) {
        for (int left = 0; left + cellW <= width; left += cellW) {
            int x0 = cellW, y0 = cellH, x1 = 0, y1 = 0;
            float far = 0;
            for (int y = 0; y < cellH; ++y) {
                for (int x = 0; x < cellW; ++x) {
                    if (rgba[(size_t(top + y) * width + left + x) * 4 + 3] < 64) continue;
                    x0 = std::min(x0, x);
                    y0 = std::min(y0, y);
                    x1 = std::max(x1, x + 1);
                    y1 = std::max(y1, y + 1);
                    const float dx = std::fabs(x + 0.5f - cellW / 2.0f) + 0.5f;
                    const float dy = std::fabs(y + 0.5f - cellH / 2.0f) + 0.5f;
                    far = std::max(far, std::sqrt(dx * dx + dy * dy));
                }
            }
            if (x1 <= x0) x0 = x1 = y0 = y1 = 0;
            cells.push_back({float(x0) / cellW, float(y0) / cellH, float(x1) / cellW,
                             float(y1) / cellH, far / std::max(cellW, cellH)});
        }
    }
    stbi_image_free(rgba);
    return cells;
}

// A rectangle of half-size (hw, hh) around the origin, moved by (dx, dy) in its own
// frame, turned as the graphics module turns pictures, and placed at (x, y).
Box Turned(float x, float y, float rotation, float left, float top, float right, float bottom) {
    const float r = rotation * float(M_PI) / 180;
    const float c = std::cos(r), s = std::sin(r);
    Box b{1e9f, 1e9f, -1e9f, -1e9f};
    for (float px : {left, right}) {
        for (float py : {top, bottom}) {
            const float tx = x + c * px + s * py;
            const float ty = y - s * px + c * py;
            b = Union(b, {tx, ty, tx, ty});
        }
    }
    return b;
}

// What a player sees of one draw command or one line of text.
struct Element {
    std::string name;  // a text's characters without spaces, "picture 97/3", "rect" or "line"
    int slot = -1;     // the picture's slot; -1 for texts, rectangles and lines
    int frame = 0;
    bool rect = false;  // a rectangle or a line
    Box box{};
    float r = 0, g = 0, b = 0;
};

struct Size {
    int w, h;
};

std::string Name(const Size& s) { return std::to_string(s.w) + "x" + std::to_string(s.h); }

class LayoutTest : public FrontEndFixture, public ::testing::WithParamInterface<Size> {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        SetDevice(GetParam().w, GetParam().h);
        Create();
    }

    float W() const { return qv_Vortan_jscrw; }
    float H() const { return qv_Vortan_jscrh; }

    // The elements of the draw list; nothing wholly transparent counts.
    std::vector<Element> Elements() const {
        std::vector<Element> out;
        const float advance = float(font::kAdvance), line = float(font::kLineHeight);
        float lastX = 0, lastY = 0, lastRot = 0, lastSize = 0;
        bool inText = false;
        for (const DrawCmd& c : Commands()) {
            if (c.alpha < 0.05f) {
                inText = false;
                continue;
            }
            if (c.kind == float(app->m_Font)) {
                const float sx = std::fabs(c.a4), sy = std::fabs(c.a5);
                const Box glyph = Turned(c.x, c.y, c.rot, -advance / 2 * sx, -line / 2 * sy,
                                         advance / 2 * sx, line / 2 * sy);
                // The next glyph of a line lies ahead of the last along the line's way.
                const float r = c.rot * float(M_PI) / 180;
                const float along = (c.x - lastX) * std::cos(r) + (c.y - lastY) * std::sin(r);
                const float aside = -(c.x - lastX) * std::sin(r) + (c.y - lastY) * std::cos(r);
                const bool sameLine = inText && c.rot == lastRot && c.a4 == lastSize && along > 0 &&
                                      along < 4 * advance * sx && std::fabs(aside) < 1;
                if (!sameLine) out.push_back({"", -1, 0, false, glyph, c.r, c.g, c.b});
                out.back().name += char(int(c.frame) + 32);
                out.back().box = Union(out.back().box, glyph);
                lastX = c.x;
                lastY = c.y;
                lastRot = c.rot;
                lastSize = c.a4;
                inText = true;
                continue;
            }
            inText = false;
            const draw_command::Shape shape = draw_command::ShapeOf(c.kind);
            if (shape == draw_command::Shape::kRect) {
                out.push_back(
                    {"rect", -1, 0, true, {c.x, c.y, c.x + c.a4, c.y + c.a5}, c.r, c.g, c.b});
            } else if (shape == draw_command::Shape::kOval) {
                const Box oval{c.x - c.a4, c.y - c.a5, c.x + c.a4, c.y + c.a5};
                out.push_back({"oval", -1, 0, true, oval, c.r, c.g, c.b});
            } else if (shape == draw_command::Shape::kLine) {
                const Box line{std::min(c.x, c.a4), std::min(c.y, c.a5), std::max(c.x, c.a4),
                               std::max(c.y, c.a5)};
                out.push_back({"line", -1, 0, true, line, c.r, c.g, c.b});
            } else if (shape == draw_command::Shape::kPicture && c.kind < picture::kSlots) {
                out.push_back(PictureElement(c));
            }
        }
        return out;
    }

    Element PictureElement(const DrawCmd& c) const {
        const int slot = int(c.kind), frame = int(c.frame);
        const int res = std::max(app->m_ImgRes, 1);
        const int cellW = CellWidth(*app, slot), cellH = CellHeight(*app, slot);
        const float w = float(cellW) / res * std::fabs(c.a4),
                    h = float(cellH) / res * std::fabs(c.a5);
        Ink ink;
        const std::vector<Ink>& cells = InkOf(slot, res, cellW, cellH);
        if (frame >= 0 && frame < int(cells.size())) ink = cells[frame];
        if (c.a4 < 0) ink = {1 - ink.x1, ink.y0, 1 - ink.x0, ink.y1};  // mirrored
        Box box = Turned(c.x, c.y, c.rot, (ink.x0 - 0.5f) * w, (ink.y0 - 0.5f) * h,
                         (ink.x1 - 0.5f) * w, (ink.y1 - 0.5f) * h);
        const float reach = ink.radius * std::max(w, h);
        box = {std::max(box.x0, c.x - reach), std::max(box.y0, c.y - reach),
               std::min(box.x1, c.x + reach), std::min(box.y1, c.y + reach)};
        const std::string name = "picture " + std::to_string(slot) + "/" + std::to_string(frame);
        return {name, slot, frame, false, box, c.r, c.g, c.b};
    }

    using Pick = std::function<bool(const Element&)>;

    static Pick SaidAny(std::vector<std::string> texts) {
        for (std::string& t : texts) t = Squash(t);
        return [texts](const Element& e) {
            return e.slot < 0 && !e.rect &&
                   std::find(texts.begin(), texts.end(), e.name) != texts.end();
        };
    }
    static Pick Said(const std::string& text) { return SaidAny({text}); }
    static Pick Picture(int slot, std::vector<int> frames = {}) {
        return [slot, frames](const Element& e) {
            return e.slot == slot && (frames.empty() || std::find(frames.begin(), frames.end(),
                                                                  e.frame) != frames.end());
        };
    }
    static Pick Any(std::vector<Pick> picks) {
        return [picks](const Element& e) {
            return std::any_of(picks.begin(), picks.end(), [&](const Pick& p) { return p(e); });
        };
    }

    std::vector<Element> Picked(const Pick& pick) const {
        std::vector<Element> out;
        for (const Element& e : Elements()) {
            if (pick(e)) out.push_back(e);
        }
        return out;
    }

    // Nothing picked by `a` meets anything picked by `b`; both pick something.
    void ExpectApart(const std::string& what, const Pick& a, const Pick& b) const {
        const std::vector<Element> first = Picked(a), second = Picked(b);
        EXPECT_FALSE(first.empty() || second.empty()) << screen << ": nothing of " << what;
        for (const Element& x : first) {
            for (const Element& y : second) {
                EXPECT_FALSE(Meet(x.box, y.box))
                    << screen << " at " << Name(GetParam()) << ", " << what << ": " << x.name << " "
                    << Describe(x.box) << " meets " << y.name << " " << Describe(y.box);
            }
        }
    }
    // No two of the picked things meet.
    void ExpectEachApart(const std::string& what, const std::vector<Pick>& picks) const {
        for (size_t i = 0; i < picks.size(); ++i) {
            for (size_t j = i + 1; j < picks.size(); ++j) ExpectApart(what, picks[i], picks[j]);
        }
    }
    // Everything picked lies within the screen.
    void ExpectOnScreen(const std::string& what, const Pick& a) const {
        const std::vector<Element> picked = Picked(a);
        EXPECT_FALSE(picked.empty()) << screen << ": nothing of " << what;
        for (const Element& e : picked) {
            const bool inside = e.box.x0 >= -0.5f && e.box.y0 >= -0.5f && e.box.x1 <= W() + 0.5f &&
                                e.box.y1 <= H() + 0.5f;
            EXPECT_TRUE(inside) << screen << " at " << Name(GetParam()) << ", " << what << ": "
                                << e.name << " " << Describe(e.box) << " leaves the " << W() << "x"
                                << H() << " screen";
        }
    }

    // Each row's text lies on a bar of its own (the blue bars of the options box and the
    // Controls screen), and there are as many bars as rows.
    void ExpectEachRowOnItsBar(const std::vector<std::string>& rows) const {
        const std::vector<Element> bars = Picked([&](const Element& e) {
            return e.rect && e.b >= 160 && e.r == 0 && e.box.x1 - e.box.x0 < W();
        });
        ASSERT_EQ(bars.size(), rows.size()) << screen << " at " << Name(GetParam());
        std::vector<bool> taken(bars.size());
        for (const std::string& row : rows) {
            const std::vector<Element> text = Picked(Said(row));
            ASSERT_EQ(text.size(), 1u) << screen << ": " << row;
            const Box t = text[0].box;
            const auto bar = std::find_if(bars.begin(), bars.end(), [&](const Element& b) {
                return t.x0 >= b.box.x0 && t.x1 <= b.box.x1 && t.y0 >= b.box.y0 - 0.5f &&
                       t.y1 <= b.box.y1 + 0.5f;
            });
            const bool own = bar != bars.end() && !taken[size_t(bar - bars.begin())];
            EXPECT_TRUE(own) << screen << " at " << Name(GetParam()) << ": " << row << " "
                             << Describe(t) << " off a bar of its own";
            if (own) taken[size_t(bar - bars.begin())] = true;
        }
    }

    // The title menu at rest with highscore lists full of eight-digit scores, the widest
    // rows a list shows.
    void MenuWithFullLists() {
        FinishLoading();
        for (int i = 0; i < app->m_HiScore.Length(); ++i) app->m_HiScore[i] = 99999999 - 1000 * i;
        SettleMenu();
    }
    void ToColumn(int column) {
        while (app->m_MenuCol > column) Hold(vk::kLeft, 1);
        while (app->m_MenuCol < column) Hold(vk::kRight, 1);
    }
    void StartRound() {
        SettleMenu();
        ToColumn(1);
        EnterRound();
    }
    // Four players in, one of them down, a crowd of opponents and a score.
    void BusyRound() {
        StartRound();
        for (int p = 0; p < pad::kPads; ++p) PadDown(p, pad::kA);
        Update();
        for (int p = 0; p < pad::kPads; ++p) PadUp(p, pad::kA);
        Update(120);
        Record(*app, 2)[kHealth] = -1;
        app->m_Score = 12345;
        app->m_ItemsTaken = 12;
        Update(60);
    }

    // The wheel's plates and their names.
    static Pick Plates() {
        return Any({Picture(picture::kButtons,
                            {frame::kEasyPlate, frame::kEasyPlate + 1, frame::kEasyPlate + 2}),
                    SaidAny({"Easy", "Normal", "Hard"})});
    }
    static Pick Gear() {
        return Picture(picture::kButtons, {frame::kBigGear, frame::kSmallGear, frame::kGearNut});
    }
    // The lines of both highscore lists.
    static Pick Lists() {
        return [](const Element& e) {
            return e.slot < 0 && !e.rect && (IsScoreRow(e) || IsHeading(e));
        };
    }
    static bool IsHeading(const Element& e) {
        return e.name.rfind("Top", 0) == 0 || e.name.rfind("Last", 0) == 0 || e.name == "Highscore";
    }
    static bool IsScoreRow(const Element& e) {
        return !e.name.empty() && std::all_of(e.name.begin(), e.name.end(), ::isdigit) &&
               ((e.r == 255 && e.g == 200) || (e.r == 200 && e.g == 255));
    }
    static Pick Description() {
        return SaidAny({"Easiest mode", "Nice and Easy.", "Just right!", "Tough, but not hard.",
                        "Maybe TOO hard!", "If you like it like that"});
    }

    std::string screen;
};

TEST_P(LayoutTest, LoadingScreen) {
    screen = "loading screen";
    Render();
    for (int stage = 0; stage < 24; ++stage) {
        Update();
        const Pick logo = Picture(picture::kMakerLogo), loading = Said("Loading...");
        ExpectApart("maker's logo and \"Loading...\"", logo, loading);
        ExpectOnScreen("maker's logo and \"Loading...\"", Any({logo, loading}));
        if (HasFailure()) break;
    }
}

TEST_P(LayoutTest, TitleMenuInEachColumn) {
    MenuWithFullLists();
    const Pick title = Any({Picture(picture::kTitleTop), Picture(picture::kTitleBottom)});
    const Pick logo = Picture(picture::kMakerLogo);
    // Every wheel choice in the middle column, Normal in the others.
    for (const auto& [column, wheel] :
         {std::pair<int, int>{0, 1}, {1, 0}, {1, 1}, {1, 2}, {2, 1}}) {
        ToColumn(1);
        while (app->m_WheelSel > wheel) Hold(vk::kUp, 1);
        while (app->m_WheelSel < wheel) Hold(vk::kDown, 1);
        ToColumn(column);
        Update(40);  // the wheel at rest
        screen = "title menu, column " + std::to_string(column) + ", wheel " +
                 std::to_string(wheel);
        ExpectApart("title and wheel", title, Plates());
        ExpectApart("title and highscore lists", title, Lists());
        ExpectApart("maker's logo and highscore lists", logo, Lists());
        // The wheel turns out of the screen's corner: its chosen plate stays within.
        const Pick chosen = Any({Picture(picture::kButtons, {frame::kEasyPlate + wheel}),
                                 Said(qv_Vortan_MenuSet[2 * wheel].ToUtf8())});
        ExpectOnScreen("title, logo, lists and chosen plate", Any({title, logo, Lists(), chosen}));
        if (column == 1 && W() > 600) {
            ExpectApart("description and wheel", Description(), Plates());
            ExpectApart("description and lists", Description(), Lists());
            ExpectOnScreen("description", Description());
        }
        if (HasFailure()) return;
    }
}

TEST_P(LayoutTest, CreditsPanel) {
    MenuWithFullLists();
    ToColumn(2);
    Hold(vk::kEnter, 1);
    ASSERT_EQ(app->m_PanelB, 1);
    std::vector<std::string> credits;
    for (int i = 0; i < qv_Vortan_CreditText.Length(); ++i)
        credits.push_back(qv_Vortan_CreditText[i].ToUtf8());
    const Pick credit = SaidAny(credits);
    const Pick codedIn = Any({Picture(picture::kButtons, {frame::kCodedIn}),
                              SaidAny({"Coded in", "C++ on its own runtime"})});
    const Pick logo = Picture(picture::kMakerLogo);
    for (int step = 0; step < 8; ++step) {
        Update(step == 0 ? 90 : 13);  // open, then lines at several places of the ticker
        screen = "credits panel after " + std::to_string(90 + 13 * step) + " updates";
        const Pick stats = [&](const Element& e) {
            return e.slot < 0 && !e.rect && !credit(e) && !codedIn(e) && !Lists()(e) &&
                   e.box.x1 > W() / 2;
        };
        ExpectApart("credits and debug statistics", credit, stats);
        ExpectApart("credits and \"Coded in\"", credit, codedIn);
        ExpectApart("\"Coded in\" and lists", codedIn, Lists());
        ExpectApart("debug statistics and maker's logo", stats, logo);
        ExpectOnScreen("credits, statistics, \"Coded in\", logo and lists",
                       Any({credit, stats, codedIn, logo, Lists()}));
        if (HasFailure()) return;
    }
}

TEST_P(LayoutTest, OptionsBox) {
    FinishLoading();
    SettleMenu();
    SetKeyboardSplit(*app, 1);
    ToColumn(0);
    Hold(vk::kEnter, 1);
    ASSERT_EQ(app->m_OptionsOpen, 1);
    Update(40);
    screen = "options box";
    const std::vector<std::string> rows = {"<[BACK]",
                                           "Sound : SFX + Music",
                                           "iCade : Off",
                                           "Fullscreen",
                                           "Left Thumbstick Y Flipped",
                                           "Right Thumbstick Y Flipped",
                                           "Music : 10",
                                           "Effects : 10",
                                           "Keyboard : Split for 2",
                                           "Controls >"};
    const Pick sets = Said(KeysInForceText(*app, 0).ToUtf8()),
               sets2 = Said(KeysInForceText(*app, 1).ToUtf8());
    std::vector<Pick> each = {Gear(), sets, sets2};
    for (const std::string& row : rows) each.push_back(Said(row));
    ExpectEachApart("gear, rows and the split keyboard's sets", each);
    ExpectOnScreen("the split keyboard's sets", Any({sets, sets2}));
    // The gear grows while the cursor is on it and then reaches past the top edge by a
    // unit or two, as at 640 x 480; at rest it is within.
    Hold(vk::kDown, 1);
    ExpectOnScreen("gear and rows", Any({Gear(), SaidAny(rows)}));
    ExpectEachRowOnItsBar(std::vector<std::string>(rows.begin() + 1, rows.end()));  // not back
}

// The Controls screen over the pause panel, with the longest rows the defaults give.
TEST_P(LayoutTest, ControlsScreen) {
    FinishLoading();
    BusyRound();
    Hold(vk::kEscape, 1);
    ASSERT_EQ(app->m_Paused, 1);
    app->p_OpenControls();
    Update(2);
    screen = "Controls screen";
    std::vector<std::string> rows = {"< Player 1 >", "Reset to defaults", "<[BACK]"};
    for (const char* action : {"Up", "Left", "Right", "Down", "Jump", "Strike", "Pause"}) {
        const std::vector<TextLine> lines = Lines();
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const TextLine& l) {
            return l.text.rfind(std::string(action) + ":", 0) == 0;
        });
        ASSERT_NE(line, lines.end()) << action;
        rows.push_back(line->text);
    }
    std::vector<Pick> each;
    for (const std::string& row : rows) each.push_back(Said(row));
    ExpectEachApart("Controls rows", each);
    ExpectOnScreen("Controls rows", SaidAny(rows));
    ExpectEachRowOnItsBar(rows);
}

TEST_P(LayoutTest, RoundAndScoreDisplay) {
    FinishLoading();
    StartRound();
    Update(5);
    screen = "round before anyone joined";
    const Pick prompts = SaidAny({"Press A or Z", "Press A", "to join"});
    ExpectOnScreen("join prompts", prompts);
    ExpectApart("join prompts and score display", prompts,
                [](const Element& e) { return e.box.y1 < 48; });
    app->m_Mode = mode::kMenu;
    BusyRound();
    screen = "round";
    const Pick healthBars = [](const Element& e) {
        return e.rect && e.box.y0 >= 48 && e.box.y1 - e.box.y0 <= 12;
    };
    const Pick dead = Said("-=-=- DEAD x( -=-=-");
    const Pick scores = Any({Said("00012345"), [](const Element& e) {
                                 return e.slot < 0 && !e.rect &&
                                        e.name.find("00") != std::string::npos && e.r == 255 &&
                                        e.g == 255;
                             }});
    const Pick items = Picture(picture::kIcons, {frame::kItemIcon});
    ExpectApart("score display and health bars", Any({scores, items}), Any({healthBars, dead}));
    ExpectApart("score and bonus items", scores,
                [&](const Element& e) { return items(e) && e.box.y1 < 48; });
    const Pick barNumbers = [](const Element& e) {
        return e.slot < 0 && !e.rect && e.name.size() == 2 && e.name[0] == 'P' && e.box.y0 >= 48 &&
               e.box.y1 <= 48 + 16 * 4 + 12;
    };
    ASSERT_EQ(Picked(barNumbers).size(), 4u) << Name(GetParam());
    ExpectApart("bar numbers and score display", barNumbers, Any({scores, items}));
    ExpectApart("bar numbers and health bars", barNumbers, Any({healthBars, dead}));
    ExpectOnScreen("score display, health bars and pause icon",
                   Any({scores, items, healthBars, dead, barNumbers,
                        Picture(picture::kIcons, {0})}));
    host->touchPlay = true;  // the stick and the buttons keep clear of all of it
    Update();
    const Pick touch = Any({Picture(picture::kDpad), SaidAny({"Jump", "Strike"}),
                            [](const Element& e) { return e.name == "oval" && e.box.x0 > 0; }});
    const Pick bars = [&](const Element& e) { return healthBars(e) && e.box.y1 < 130; };
    ExpectApart("touch controls and score display", touch,
                Any({scores, items, bars, dead, barNumbers}));
    ExpectOnScreen("touch controls", touch);
}

// "Quit?" and its two answers inside their box, apart, within the screen, at full size.
TEST_P(LayoutTest, QuitQuestion) {
    MenuWithFullLists();
    Hold(vk::kEscape, 1);
    ASSERT_EQ(app->m_QuitAsked, 1);
    Update(10);
    screen = "quit question";
    const Pick title = Said("Quit?"), yes = Said("A or Enter: quit"),
               no = Said("B or Esc: keep playing");
    ExpectEachApart("question and answers", {title, yes, no});
    ExpectOnScreen("question and answers", Any({title, yes, no}));
    const std::vector<Element> box = Picked(
        [](const Element& e) { return e.rect && e.r == 0 && e.g == 0 && e.b == 60; });
    ASSERT_EQ(box.size(), 1u);
    ExpectOnScreen("question's box", [&](const Element& e) { return e.rect && e.b == 60; });
    for (const Element& e : Picked(Any({title, yes, no}))) {
        const Box& b = box[0].box;
        EXPECT_TRUE(e.box.x0 >= b.x0 && e.box.x1 <= b.x1 && e.box.y0 >= b.y0 && e.box.y1 <= b.y1)
            << Name(GetParam()) << ": " << e.name << " " << Describe(e.box) << " outside "
            << Describe(b);
        EXPECT_GE(e.box.y1 - e.box.y0, 1.5f * font::kLineHeight) << e.name;
    }
}

// Each joined player's "P1".."P4" over its fighter, standing, in a jump and knocked out:
// within the screen, a full-size line of text, clear of its own fighter's picture; and the
// prompts of players still to join at the bottom edge, clear of every fighter.
TEST_P(LayoutTest, PlayerTagsAndLatePrompts) {
    FinishLoading();
    StartRound();
    PadDown(1, pad::kA);
    PadDown(3, pad::kA);
    Update();
    PadUp(1, pad::kA);
    PadUp(3, pad::kA);
    Update(200);                   // landed, and the first prompts have gone to the bottom edge
    Record(*app, 2)[kDepth] = 16;  // the front row, nearest the edge prompts
    Record(*app, 4)[kDepth] = 96;  // the back row
    for (int step = 0; step < 3; ++step) {
        if (step == 1) PadDown(3, pad::kA);  // player 4 jumps
        if (step == 2) Record(*app, 2)[kHealth] = -1;
        Update(step == 1 ? 8 : 2);
        PadUp(3, pad::kA);
        screen = "round with players 2 and 4, step " + std::to_string(step);
        for (int p : {2, 4}) {
            const std::string tag = "P" + std::to_string(p);
            // Not the number left of the health bars.
            const Pick mine = [&](const Element& e) {
                return e.name == tag && e.box.x1 > W() / 2 - 100;
            };
            const std::vector<Element> found = Picked(mine);
            ASSERT_EQ(found.size(), 1u) << screen << " at " << Name(GetParam()) << ": " << tag;
            EXPECT_GE(found[0].box.y1 - found[0].box.y0, font::kLineHeight) << screen;
            ExpectApart(tag + " and its fighter", mine, Picture(p));
            ExpectOnScreen(tag, mine);
        }
        const Pick prompts = SaidAny({"P1 press A or Z", "P3 press A"});
        ASSERT_EQ(Picked(prompts).size(), 2u) << screen << " at " << Name(GetParam());
        ExpectOnScreen("prompts at the bottom edge", prompts);
        ExpectApart("prompts and fighters", prompts, Any({Picture(2), Picture(4)}));
        if (HasFailure()) return;
    }
}

// Player 1 walks with the d-pad to both ends of the farthest row and of the nearest, and
// pushes on: the whole body stays on screen. No opponents come to stand in the way.
TEST_P(LayoutTest, FightersStayOnScreenAtBothEndsOfTheFarAndNearRows) {
    FinishLoading();
    StartRound();
    app->m_SpawnTimer = 1 << 30;
    PadDown(0, pad::kA);
    Update();
    PadUp(0, pad::kA);
    const float* player = Record(*app, kFirstPlayer);
    for (int t = 0; t < 400 && player[kGround] == 0; ++t) Update();
    // Holds a direction until the player stops moving, then a little longer.
    const auto walk = [&](int button) {
        PadDown(0, button);
        for (int t = 0; t < 3000; ++t) {
            const float x = player[kX], depth = player[kDepth];
            Update();
            if (player[kX] == x && player[kDepth] == depth) break;
        }
        Update(10);
        PadUp(0, button);
    };
    for (const int row : {pad::kUp, pad::kDown}) {  // into the screen first, then out
        walk(row);
        for (const int end : {pad::kLeft, pad::kRight}) {
            walk(end);
            screen = std::string(row == pad::kUp ? "far" : "near") + " row, " +
                     (end == pad::kLeft ? "left" : "right") + " end";
            ExpectOnScreen("player 1", Picture(picture::kFirstPlayer));
        }
    }
}

TEST_P(LayoutTest, PausePanel) {
    FinishLoading();
    BusyRound();
    Hold(vk::kEscape, 1);
    ASSERT_EQ(app->m_Paused, 1);
    Update(40);
    const Pick resume = Picture(picture::kIcons, {frame::kGoIcon});
    const Pick quit = Picture(picture::kIcons, {frame::kQuitIcon});
    const Pick ring = Picture(picture::kIcons, {frame::kRingIcon});
    const Pick paused = Said("PAUSED");
    const Pick controls = Any({resume, quit, Gear(), ring});
    for (int row : {pause_row::kResume, pause_row::kQuit, pause_row::kOptions}) {
        app->m_PauseRow = row;
        Update();
        screen = "pause panel, row " + std::to_string(row);
        ExpectEachApart("pause controls", {resume, quit, Gear()});
        ExpectApart("pause controls and \"PAUSED\"", controls, paused);
        ExpectOnScreen("pause controls, \"PAUSED\" and the readout",
                       Any({controls, paused, Said("25:25")}));
        if (HasFailure()) return;
    }
    // The controls stand in cursor order, quit, resume, options, down a column in
    // landscape and along a row in portrait.
    const auto middle = [&](const Pick& pick) {
        const std::vector<Element> found = Picked(pick);
        EXPECT_FALSE(found.empty());
        const Box b = found.empty() ? Box{} : found[0].box;
        return std::array<float, 2>{(b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2};
    };
    const auto q = middle(quit), r = middle(resume),
               o = middle(Picture(picture::kButtons, {frame::kGearNut}));
    const int along = app->m_Landscape == 1 ? 1 : 0, across = 1 - along;
    EXPECT_LT(q[along], r[along]) << Name(GetParam());
    EXPECT_LT(r[along], o[along]) << Name(GetParam());
    EXPECT_NEAR(q[across], r[across], 1) << Name(GetParam());
    EXPECT_NEAR(r[across], o[across], 1) << Name(GetParam());
    // Over a whole turn the trail keeps within the screen and clear of the controls (its
    // first 102 points start at the corner and are all replaced after as many updates).
    Update(102);
    Box trail{1e9f, 1e9f, -1e9f, -1e9f};
    for (int update = 0; update < 360; ++update) {
        Update();
        for (const Element& e : Picked([](const Element& e) { return e.name == "line"; }))
            trail = Union(trail, e.box);
    }
    const bool inside = trail.x0 >= 0 && trail.y0 >= 0 && trail.x1 <= W() && trail.y1 <= H();
    EXPECT_TRUE(inside) << Name(GetParam()) << ": the trail reaches " << Describe(trail);
    for (const Element& c : Picked(controls)) {
        EXPECT_FALSE(Meet(trail, c.box)) << Name(GetParam()) << ": the trail " << Describe(trail)
                                         << " reaches " << c.name << " " << Describe(c.box);
    }
}

TEST_P(LayoutTest, GameOverWithNewHighscore) {
    FinishLoading();
    for (int i = 0; i < app->m_HiScore.Length(); ++i) app->m_HiScore[i] = 0;
    app->m_HiScore[high_scores::BestIndex(0, 0)] = 20000;
    BusyRound();
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) Record(*app, p)[kHealth] = -100;
    for (int t = 0; t < 80 && app->m_Mode == mode::kRound; ++t) {
        Update();
        if (app->m_OverTimer < 30) continue;
        screen = "game over, update " + std::to_string(app->m_OverTimer);
        const Pick banner = SaidAny({"New Highscore", "2nd"});
        const Pick players = [](const Element& e) {
            return e.slot < 0 && !e.rect && e.name.find("knockout") != std::string::npos;
        };
        ASSERT_EQ(Picked(players).size(), 4u) << screen;
        ExpectEachApart("game-over words, banner and players' rows",
                        {Said("GAME"), Said("OVER"), banner, players});
        ExpectOnScreen("game-over words, banner and players' rows",
                       Any({Said("GAME"), Said("OVER"), banner, players}));
        for (const Element& row : Picked(players))
            EXPECT_GE(row.box.y1 - row.box.y0, font::kLineHeight) << screen << ": " << row.name;
        if (HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, LayoutTest,
                         ::testing::Values(Size{640, 480}, Size{1280, 720}, Size{1920, 1080},
                                           Size{1366, 768}, Size{1280, 1024}, Size{1280, 800},
                                           Size{2560, 1080}, Size{3840, 2160}, Size{1080, 1920},
                                           Size{480, 640}),
                         [](const ::testing::TestParamInfo<Size>& info) {
                             return Name(info.param);
                         });

}  // namespace
