// Text from outside the program escaped for the terminal: what is escaped and what is kept.
#include <gtest/gtest.h>

#include <algorithm>
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
        // Bidirectional overrides and isolates, which would turn the rest of the line
        // around (U+202E, U+2066, U+2069), next to their neighbours that stay (U+2029,
        // U+206A).
        {"pad\xe2\x80\xae"
         "1",
         "pad\\xe2\\x80\\xae1"},
        {"\xe2\x81\xa6"
         "a\xe2\x81\xa9",
         "\\xe2\\x81\\xa6a\\xe2\\x81\\xa9"},
        {"\xe2\x80\xa9\xe2\x81\xaa", "\xe2\x80\xa9\xe2\x81\xaa"},
    };
    for (const Case& c : cases) EXPECT_EQ(QvEscapeControls(c.text), c.shown) << c.shown;
}

// A name of any length fits a console line: at most kEscapedNameMost characters on the
// screen, cut only between whole characters and whole escapes, with "..." for the rest.
TEST(EscapedText, NamesAreCutToFitALineBetweenWholeCharactersAndEscapes) {
    auto columns = [](const std::string& s) {
        return size_t(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xc0) != 0x80; }));
    };
    for (const std::string unit : {"n", "\xc3\xa9", "\x1b", "\\", "\xe2\x80\xae"}) {
        for (size_t count : {1, 14, 53, 56, 57, 300}) {
            std::string text;
            for (size_t i = 0; i < count; ++i) text += unit;
            const std::string shown = QvEscapeControls(text), name = QvEscapeName(text);
            SCOPED_TRACE(shown);
            if (columns(shown) <= kEscapedNameMost) {
                EXPECT_EQ(name, shown);
                continue;
            }
            const std::string kept = QvEscapeControls(unit);
            const size_t whole = (kEscapedNameMost - 3) / columns(kept);
            std::string expected;
            for (size_t i = 0; i < whole; ++i) expected += kept;
            EXPECT_EQ(name, expected + "...");
        }
    }
}

}  // namespace
