// Text from outside the program escaped for the terminal: what is escaped and what is kept.
#include <gtest/gtest.h>

#include <string>

#include "host/escaped_text.h"

namespace {

TEST(EscapedText, ControlsAndStrayBytesBecomeEscapesAndPrintableUtf8Stays) {
    struct Case {
        std::string text, shown;
    };
    const Case cases[] = {
        {"--fullscreen", "--fullscreen"},
        {"\x1b[2J", "\\x1b[2J"},
        {"a\tb\nc\rd\x7f", "a\\x09b\\x0ac\\x0dd\\x7f"},
        {std::string("nul\0end", 7), "nul\\x00end"},
        {"back\\slash", "back\\\\slash"},
        // UTF-8: accented letters, a CJK character and an emoji are kept.
        {"Man\xc3\xa9tte \xe6\x89\x8b \xf0\x9f\x8e\xae",
         "Man\xc3\xa9tte \xe6\x89\x8b \xf0\x9f\x8e\xae"},
        // The C1 control CSI (U+009B), which some terminals obey like ESC [.
        {"\xc2\x9bm", "\\xc2\\x9bm"},
        // Bytes that are not UTF-8: a lone CSI byte, a cut sequence, an overlong form and
        // an encoded surrogate.
        {"\x9bm", "\\x9bm"},
        {"cut \xe6\x89", "cut \\xe6\\x89"},
        {"\xc0\xaf", "\\xc0\\xaf"},
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},
        // Bidirectional overrides and isolates (U+202E, U+2066, U+2069) would turn the rest
        // of the line around; their neighbours U+2029 and U+206A stay.
        {"pad\xe2\x80\xae!", "pad\\xe2\\x80\\xae!"},
        {"\xe2\x81\xa6z\xe2\x81\xa9", "\\xe2\\x81\\xa6z\\xe2\\x81\\xa9"},
        {"\xe2\x80\xa9\xe2\x81\xaa", "\xe2\x80\xa9\xe2\x81\xaa"},
    };
    for (const Case& c : cases) EXPECT_EQ(QvEscapeControls(c.text), c.shown) << c.shown;
}

}  // namespace
