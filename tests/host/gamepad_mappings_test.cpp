// Extra gamepad mappings sorted into the lines the window system takes and the lines
// reported as left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/escaped_text.h"
#include "host/gamepad_mappings.h"

namespace {

const std::string kGuid = "03000000de1e0000ad0b000010010000";
const std::string kGood = kGuid +
                          ",Workshop Pad,a:b0,b:b1,x:b2,y:b3,back:b6,start:b7,"
                          "leftx:a0,lefty:a1~,lefttrigger:+a2,righttrigger:-a5,"
                          "dpup:h0.1,dpleft:h0.8,misc1:b12,platform:Linux,";
// Another pad's GUID, one for each i below 10^8.
std::string Guid(int i) { return kGuid.substr(0, 24) + std::to_string(100000000 + i).substr(1); }

TEST(GamepadMappings, UsableLinesPassAndCommentsBlanksAndOtherPlatformsAreQuiet) {
    const std::string text = "# pads of the workshop\n\n" + kGood + "\r\n" + "   " + Guid(1) +
                             ",Spaced,a:b0,\n" + Guid(2) + ",Elsewhere,a:b0,platform:Windows,\n" +
                             Guid(3) + ",No platform,a:b1\n";
    QvGamepadMappings m = QvSortGamepadMappings(text, "gamecontrollerdb.txt");
    EXPECT_TRUE(m.problems.empty()) << m.problems.front();
    EXPECT_EQ(m.usable,
              kGood + "\n" + Guid(1) + ",Spaced,a:b0,\n" + Guid(3) + ",No platform,a:b1\n");
}

TEST(GamepadMappings, EachBadLineIsReportedOnceWithItsPlaceAndLeftOut) {
    struct Case {
        std::string line, why;
    };
    const Case cases[] = {
        {"0300de1e,Short GUID,a:b0,", "the GUID \"0300de1e\" is not 32 hexadecimal digits"},
        {kGuid, "no name followed by a comma"},
        {kGuid + ",Bad button,a:q0,platform:Linux,", "\"a:q0\" names no button, axis or hat"},
        {kGuid + ",Bad hat,dpup:h0,", "\"dpup:h0\" names no button, axis or hat"},
        {kGuid + ",Output range,+leftx:a0,", "\"+leftx:a0\": half-range outputs are not supported"},
        {kGuid + ",No colon,a,", "\"a\" is not name:input"},
        {kGuid + "," + std::string(128, 'n') + ",a:b0,", "the name is longer than 127 characters"},
        {kGuid + ",Long," + std::string(1000, ','), "longer than 1023 characters"},
        // Text quoted from the line cannot clear the terminal it is printed on.
        {kGuid + ",Sly,a:b0\x1b[2J,", "\"a:b0\\x1b[2J\" names no button, axis or hat"},
        // The window system would read a second mapping after the carriage return.
        {kGuid + ",Two,a:b0\r" + Guid(7) + ",Unjudged,a:b0,", "a carriage return inside the line"},
        // Quoted text is cut to fit the console line, never inside an escape.
        {std::string(52, 'f') + "\x1b" + std::string(200, 'f') + ",Long,a:b0,",
         "the GUID \"" + std::string(52, 'f') + "...\" is not 32 hexadecimal digits"},
    };
    for (const Case& c : cases) {
        const std::string other = Guid(1) + ",Other,a:b0,";
        QvGamepadMappings m = QvSortGamepadMappings(kGood + "\n" + c.line + "\n" + other,
                                                    "SDL_GAMECONTROLLERCONFIG");
        EXPECT_EQ(m.usable, kGood + "\n" + other + "\n");
        EXPECT_EQ(m.problems,
                  std::vector<std::string>{
                      "Game pad mapping skipped (SDL_GAMECONTROLLERCONFIG line 2): " + c.why});
    }
}

// A file of any size costs at most kMostMappingLines lines and kMostMappings mappings; bad
// lines are named by the first few, and the rest, repeats and lines past the limits counted.
TEST(GamepadMappings, AFloodOfLinesIsBoundedAndNamedByItsFirstFewAndCounted) {
    std::string text;
    for (int i = 1; i <= 100000; ++i) {
        const std::string bad = Guid(i) + ",Pad " + std::to_string(i) + ",a:q1,";
        text += (i % 4 == 0 ? bad : i % 4 == 1 ? kGood : Guid(i) + ",Pad,a:b0,") + "\n";
    }
    QvGamepadMappings m = QvSortGamepadMappings(text, "gamecontrollerdb.txt");
    EXPECT_EQ(m.usable.substr(0, kGood.size() + 1), kGood + "\n");
    EXPECT_EQ(std::count(m.usable.begin(), m.usable.end(), '\n'), kMostMappings);
    ASSERT_EQ(m.problems.size(), size_t(kNamedMappingProblems) + 2);
    for (int i = 0; i < kNamedMappingProblems; ++i) {
        EXPECT_EQ(m.problems[i], "Game pad mapping skipped (gamecontrollerdb.txt line " +
                                     std::to_string(4 * i + 4) +
                                     "): \"a:q1\" names no button, axis or hat");
    }
    // Of the 65536 lines read, a quarter are bad, a quarter kGood, half other pads.
    EXPECT_EQ(std::vector<std::string>(m.problems.end() - 2, m.problems.end()),
              (std::vector<std::string>{
                  "Game pad mappings skipped (gamecontrollerdb.txt): 16384 lines, the first 5 "
                  "named above",
                  "Game pad mappings left out (gamecontrollerdb.txt): 28673 beyond the first "
                  "4096, 16383 repeating the GUID of one before, 34464 lines after line 65536 "
                  "not read"}));
}

}  // namespace
