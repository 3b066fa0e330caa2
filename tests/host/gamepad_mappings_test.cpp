// Extra gamepad mappings sorted into the lines the window system takes and the lines
// reported as left out.
#include <gtest/gtest.h>

#include <string>

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
    const std::string text = kGood + "\n" +                                      // 1
                             "0300de1e,Short GUID,a:b0,\n" +                     // 2
                             kGuid + "\n" +                                      // 3
                             kGuid + ",Bad button,a:q0,platform:Linux,\n" +      // 4
                             kGuid + ",Bad hat,dpup:h0,\n" +                     // 5
                             kGuid + ",Output range,+leftx:a0,\n" +              // 6
                             kGuid + ",No colon,a,\n" +                          // 7
                             kGuid + "," + std::string(128, 'n') + ",a:b0,\n" +  // 8
                             kGuid + ",Long," + std::string(1000, ',') + "\n" +  // 9
                             kGood + "\n";
    QvGamepadMappings m = QvSortGamepadMappings(text, "SDL_GAMECONTROLLERCONFIG");
    EXPECT_EQ(m.usable, kGood + "\n" + kGood + "\n");
    ASSERT_EQ(m.problems.size(), 8u);
    const std::string at = "Game pad mapping skipped (SDL_GAMECONTROLLERCONFIG line ";
    EXPECT_EQ(m.problems[0], at + "2): the GUID \"0300de1e\" is not 32 hexadecimal digits");
    EXPECT_EQ(m.problems[1], at + "3): no name followed by a comma");
    EXPECT_EQ(m.problems[2], at + "4): \"a:q0\" names no button, axis or hat");
    EXPECT_EQ(m.problems[3], at + "5): \"dpup:h0\" names no button, axis or hat");
    EXPECT_EQ(m.problems[4], at + "6): \"+leftx:a0\": half-range outputs are not supported");
    EXPECT_EQ(m.problems[5], at + "7): \"a\" is not name:input");
    EXPECT_EQ(m.problems[6], at + "8): the name is longer than 127 characters");
    EXPECT_EQ(m.problems[7], at + "9): longer than 1023 characters");
}

}  // namespace
