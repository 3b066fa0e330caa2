// Extra gamepad mappings sorted into the lines the window system takes and the lines
// reported as left out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/gamepad_mappings.h"

namespace {

const std::string kGuid = "03000000de1e0000ad0b000010010000";
const std::string kGood = kGuid +
                          ",Workshop Pad,a:b0,b:b1,x:b2,y:b3,back:b6,start:b7,"
                          "leftx:a0,lefty:a1~,lefttrigger:+a2,righttrigger:-a5,"
                          "dpup:h0.1,dpleft:h0.8,misc1:b12,platform:Linux,";

TEST(GamepadMappings, UsableLinesPassAndCommentsBlanksAndOtherPlatformsAreQuiet) {
    const std::string text = "# pads of the workshop\n\n" + kGood + "\r\n" + "   " + kGuid +
                             ",Spaced,a:b0,\n" + kGuid + ",Elsewhere,a:b0,platform:Windows,\n" +
                             kGuid + ",No platform,a:b1\n";
    QvGamepadMappings m = QvSortGamepadMappings(text, "gamecontrollerdb.txt");
    EXPECT_TRUE(m.problems.empty()) << m.problems.front();
    EXPECT_EQ(m.usable, kGood + "\n" + kGuid + ",Spaced,a:b0,\n" + kGuid + ",No platform,a:b1\n");
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
    };
    for (const Case& c : cases) {
        QvGamepadMappings m = QvSortGamepadMappings(kGood + "\n" + c.line + "\n" + kGood,
                                                    "SDL_GAMECONTROLLERCONFIG");
        EXPECT_EQ(m.usable, kGood + "\n" + kGood + "\n");
        EXPECT_EQ(m.problems,
                  std::vector<std::string>{
                      "Game pad mapping skipped (SDL_GAMECONTROLLERCONFIG line 2): " + c.why});
    }
}

// A file of junk names its first few bad lines, then counts them all in one line, and its
// good lines still count.
TEST(GamepadMappings, AFloodOfBadLinesIsNamedByItsFirstFewAndCounted) {
    std::string text;
    for (int i = 1; i <= 100000; ++i) {
        text += (i == 50000 ? kGood : kGuid + ",Pad " + std::to_string(i) + ",a:q1,") + "\n";
    }
    QvGamepadMappings m = QvSortGamepadMappings(text, "gamecontrollerdb.txt");
    EXPECT_EQ(m.usable, kGood + "\n");
    ASSERT_EQ(m.problems.size(), size_t(kNamedMappingProblems) + 1);
    for (int i = 0; i < kNamedMappingProblems; ++i) {
        EXPECT_EQ(m.problems[i], "Game pad mapping skipped (gamecontrollerdb.txt line " +
                                     std::to_string(i + 1) +
                                     "): \"a:q1\" names no button, axis or hat");
    }
    EXPECT_EQ(m.problems.back(),
              "Game pad mappings skipped (gamecontrollerdb.txt): 99999 lines, the first 5 named "
              "above");
}

}  // namespace
