// Strings: construction, formatting, slicing, searching, splitting, case and body sharing.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "runtime/runtime.h"
#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"

namespace {

String U(const std::u16string& text) {
    return String(reinterpret_cast<const uint16_t*>(text.data()), int(text.size()));
}

std::string Text(const String& s) { return s.ToUtf8(); }

std::vector<std::string> Pieces(const Array<String>& array) {
    std::vector<std::string> out;
    for (int i = 0; i < array.Length(); ++i) out.push_back(Text(array[i]));
    return out;
}

TEST(StringConstruction, EmptyStringsShareTheOneEmptyBody) {
    String a;
    String b(static_cast<const uint16_t*>(nullptr), 0);
    String c("");
    String d = String("abc").Slice(2, 2);
    String e = String("abc").Replace(String("abc"), String());
    for (const String* s : {&b, &c, &d, &e}) {
        EXPECT_TRUE(s->SharesBody(a));
        EXPECT_EQ(s->Length(), 0);
    }
}

TEST(StringConstruction, BytesBecomeCharactersWithoutDecoding) {
    String s("\xC3\xA9z");
    ASSERT_EQ(s.Length(), 3);
    EXPECT_EQ(s[0], 0xC3);
    EXPECT_EQ(s[1], 0xA9);
    EXPECT_EQ(s[2], 'z');
}

TEST(StringConstruction, CopiesTheGivenCharacters) {
    uint16_t chars[] = {0x41, 0x263A, 0xFFFF, 0x42};
    String s(chars, 3);
    chars[0] = 'Z';
    ASSERT_EQ(s.Length(), 3);
    EXPECT_EQ(s[0], 0x41);
    EXPECT_EQ(s[1], 0x263A);
    EXPECT_EQ(s[2], 0xFFFF);
    int codes[] = {72, 0x10041};
    String f = String::FromChars(codes, 2);
    EXPECT_EQ(f[0], 72);
    EXPECT_EQ(f[1], 0x41);  // cut to 16 bits
    EXPECT_EQ(String::FromChar(0xE9), U(u"\u00e9"));
}

TEST(StringFormatting, Integers) {
    EXPECT_EQ(Text(String(-5)), "-5");
    EXPECT_EQ(Text(String(0)), "0");
    EXPECT_EQ(Text(String(INT_MIN)), "-2147483648");
}

TEST(StringFormatting, FloatsShowSeventeenDigitsAndAlwaysAPoint) {
    EXPECT_EQ(Text(String(2.0f)), "2.0");
    EXPECT_EQ(Text(String(3.0f)), "3.0");
    EXPECT_EQ(Text(String(-7.0f)), "-7.0");
    EXPECT_EQ(Text(String(0.1f)), "0.10000000149011612");
    EXPECT_EQ(Text(String(0.5f)), "0.5");
    EXPECT_EQ(Text(String(1e20f)), "1.0000000200408773e+20");
    EXPECT_EQ(Text(String(16777216.0f)), "16777216.0");
}

TEST(StringFormatting, NonFiniteValuesGetNoPoint) {
    EXPECT_EQ(Text(String(INFINITY)), "inf");
    EXPECT_EQ(Text(String(-INFINITY)), "-inf");
    EXPECT_EQ(Text(String(NAN)).find(".0"), std::string::npos);
}

// Builds a private locale whose only difference from C is a decimal comma.
bool UseCommaLocale(const ScratchDir& dir) {
    dir.Write("comma.src",
              "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\ngrouping 3\nEND LC_NUMERIC\n");
    RunProcess({"/usr/bin/localedef", "-c", "-i", dir.File("comma.src"), "-f", "UTF-8",
                dir.File("xx_COMMA.UTF-8")});
    setenv("LOCPATH", dir.Path().c_str(), 1);
    return std::setlocale(LC_NUMERIC, "xx_COMMA.UTF-8") != nullptr;
}

TEST(StringFormatting, IgnoresTheLocaleDecimalMark) {
    ScratchDir dir;
    if (!UseCommaLocale(dir)) GTEST_SKIP() << "localedef could not build a decimal-comma locale";
    char check[16];
    std::snprintf(check, sizeof check, "%.1f", 2.5);
    EXPECT_STREQ(check, "2,5") << "the locale is really in effect";
    EXPECT_EQ(Text(String(2.5f)), "2.5");
    EXPECT_EQ(Text(String(2.0f)), "2.0");
    EXPECT_FLOAT_EQ(String("2.5").ToFloat(), 2.5f);
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
}

TEST(StringOperators, ConcatenationSharesAnEmptySide) {
    String abc("abc");
    EXPECT_TRUE((abc + String()).SharesBody(abc));
    EXPECT_TRUE((String() + abc).SharesBody(abc));
    String joined = abc + String("de");
    EXPECT_EQ(Text(joined), "abcde");
    EXPECT_EQ(Text("x" + abc), "xabc");
    String grow("a");
    grow += String("b");
    grow += String();
    EXPECT_EQ(Text(grow), "ab");
}

TEST(StringOperators, EqualityAndOrderByCodeUnits) {
    EXPECT_EQ(String("abc"), String("abc"));
    EXPECT_NE(String("abc"), String("abd"));
    EXPECT_NE(String("ab"), String("abc"));
    EXPECT_LT(String("ab").Compare(String("abc")), 0);
    EXPECT_GT(String("b").Compare(String("abc")), 0);
    EXPECT_EQ(String("abc").Compare(String("abc")), 0);
    EXPECT_TRUE(U(u"\u00e9") < U(u"\uffff"));
}

TEST(StringSlice, ClampsAndCountsFromTheEnd) {
    String s("abcdef");
    EXPECT_EQ(Text(s.Slice(-2, s.Length())), "ef");
    EXPECT_EQ(Text(s.Slice(-2)), "ef");
    EXPECT_TRUE(s.Slice(4, 2).IsEmpty());
    EXPECT_TRUE(s.Slice(0, 100).SharesBody(s));
    EXPECT_TRUE(s.Slice(-100).SharesBody(s));
    EXPECT_EQ(Text(s.Slice(1, -1)), "bcde");
    EXPECT_EQ(Text(s.Slice(2, 3)), "c");
    EXPECT_TRUE(s.Slice(100, 200).IsEmpty());
    EXPECT_TRUE(s.Slice(3, -10).IsEmpty());
}

TEST(StringSearch, FindsCodeUnitsFromAStart) {
    String s("abcabc");
    EXPECT_EQ(s.Find(String("bc")), 1);
    EXPECT_EQ(s.Find(String("bc"), 2), 4);
    EXPECT_EQ(s.Find(String("bc"), -5), 1);
    EXPECT_EQ(s.Find(String("bc"), 5), -1);
    EXPECT_EQ(s.Find(String("x")), -1);
    EXPECT_EQ(s.Find(String("abcabcd")), -1);
    EXPECT_EQ(s.FindLast(String("abc")), 3);
    EXPECT_EQ(s.FindLast(String("q")), -1);
    EXPECT_TRUE(s.Contains(String("ca")));
    EXPECT_TRUE(s.StartsWith(String("ab")));
    EXPECT_FALSE(s.StartsWith(String("abcabcabc")));
    EXPECT_TRUE(s.EndsWith(String("bc")));
    EXPECT_FALSE(s.EndsWith(String("ab")));
}

TEST(StringSplit, PiecesBetweenSeparators) {
    EXPECT_EQ(Pieces(String("a,,b").Split(String(","))), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Pieces(String("abc").Split(String())), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Pieces(String().Split(String(","))), (std::vector<std::string>{""}));
    EXPECT_EQ(String().Split(String()).Length(), 0);
    EXPECT_EQ(Pieces(String(",a,").Split(String(","))), (std::vector<std::string>{"", "a", ""}));
    EXPECT_EQ(Pieces(String("aaaa").Split(String("aa"))), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(Pieces(String("1::2::3").Split(String("::"))),
              (std::vector<std::string>{"1", "2", "3"}));
}

TEST(StringSplit, WithoutSeparatorTheOnlyPieceSharesTheBody) {
    String s("no separator here");
    Array<String> pieces = s.Split(String(","));
    ASSERT_EQ(pieces.Length(), 1);
    EXPECT_TRUE(pieces[0].SharesBody(s));
}

TEST(StringJoin, PutsTheStringBetweenElements) {
    Array<String> none;
    EXPECT_TRUE(String(",").Join(none).IsEmpty());
    Array<String> one(1);
    one[0] = String("solo");
    EXPECT_TRUE(String(",").Join(one).SharesBody(one[0]));
    Array<String> three = String("a b c").Split(String(" "));
    EXPECT_EQ(Text(String(", ").Join(three)), "a, b, c");
    EXPECT_EQ(Text(String().Join(three)), "abc");
}

TEST(StringReplace, EveryOccurrenceLeftToRight) {
    EXPECT_EQ(Text(String("a-b-c").Replace(String("-"), String("--"))), "a--b--c");
    EXPECT_EQ(Text(String("aaa").Replace(String("aa"), String("b"))), "ba");
    EXPECT_EQ(Text(String("xyx").Replace(String("x"), String())), "y");
    String s("unchanged");
    EXPECT_TRUE(s.Replace(String("q"), String("r")).SharesBody(s));
    EXPECT_TRUE(s.Replace(String(), String("r")).SharesBody(s));
}

TEST(StringCase, MapsEachCodeUnitAndSharesWhenUnchanged) {
    EXPECT_EQ(Text(String("Hello 1!").ToUpper()), "HELLO 1!");
    EXPECT_EQ(Text(String("Hello 1!").ToLower()), "hello 1!");
    String upper("ALREADY");
    EXPECT_TRUE(upper.ToUpper().SharesBody(upper));
    String lower("already");
    EXPECT_TRUE(lower.ToLower().SharesBody(lower));
}

TEST(StringConversion, ToIntReadsLikeAtoi) {
    EXPECT_EQ(String(" 42abc").ToInt(), 42);
    EXPECT_EQ(String("abc").ToInt(), 0);
    EXPECT_EQ(String("-17").ToInt(), -17);
    EXPECT_EQ(String("+8").ToInt(), 8);
    EXPECT_EQ(String("").ToInt(), 0);
    EXPECT_EQ(String("99999999999").ToInt(), INT_MAX);
    EXPECT_EQ(String("-99999999999").ToInt(), INT_MIN);
    // Only the first 63 characters are read.
    String longDigits = String(std::string(63, ' ').c_str()) + String("5");
    EXPECT_EQ(longDigits.ToInt(), 0);
    // Characters are cut to their low 8 bits: U+0131 becomes '1'.
    EXPECT_EQ(U(u"\u0131\u0132").ToInt(), 12);
}

// The browser build reads numbers another way; these are the desktop's readings, which it
// must give too: a hexadecimal form reads as its "0", a value beyond range as 0, a
// subnormal one as itself.
TEST(StringConversion, ToFloatReadsTheEdgesAsTheDesktopDoes) {
    EXPECT_EQ(String("0x10").ToFloat(), 0.0f);
    EXPECT_TRUE(std::signbit(String("-0x10").ToFloat()));
    EXPECT_EQ(String("1e400").ToFloat(), 0.0f);
    EXPECT_EQ(String("-1e400").ToFloat(), 0.0f);
    EXPECT_EQ(String("1e-400").ToFloat(), 0.0f);
    EXPECT_EQ(String("1e39").ToFloat(), INFINITY);  // a double, then too large for a float
    EXPECT_EQ(String("-infinity").ToFloat(), -INFINITY);
    EXPECT_TRUE(std::isnan(String("nan(12)").ToFloat()));
    EXPECT_EQ(String("1.5e").ToFloat(), 1.5f);
    EXPECT_EQ(String("+-1").ToFloat(), -1.0f);  // the "+" is passed over, then "-1" read
    EXPECT_EQ(String("--1").ToFloat(), 0.0f);
    EXPECT_EQ(String(".e1").ToFloat(), 0.0f);
    EXPECT_EQ(Text(String(String("3.4028234e38").ToFloat())), "3.4028234663852886e+38");
    EXPECT_EQ(Text(String(1e-45f)), "1.4012984643248171e-45");
}

TEST(StringConversion, ToFloatAndTrim) {
    EXPECT_FLOAT_EQ(String(" 2.5x").ToFloat(), 2.5f);
    EXPECT_FLOAT_EQ(String("-1e3").ToFloat(), -1000.0f);
    EXPECT_EQ(String("junk").ToFloat(), 0.0f);
    String s("  padded\t\n");
    EXPECT_EQ(Text(s.Trim()), "padded");
    String tight("tight");
    EXPECT_TRUE(tight.Trim().SharesBody(tight));
    EXPECT_TRUE(String(" \t ").Trim().IsEmpty());
}

TEST(StringConversion, CStringKeepsLowBytes) {
    CString c = U(u"A\u00e9\u0142").ToCString();
    ASSERT_EQ(c.Length(), 3);
    EXPECT_EQ(static_cast<unsigned char>(c.c_str()[0]), 'A');
    EXPECT_EQ(static_cast<unsigned char>(c.c_str()[1]), 0xE9);
    EXPECT_EQ(static_cast<unsigned char>(c.c_str()[2]), 0x42);
    EXPECT_EQ(c.c_str()[3], 0);
    CString copy = c;
    CString assigned;
    EXPECT_STREQ(assigned.c_str(), "");
    assigned = copy;
    EXPECT_EQ(assigned.Length(), 3);
    EXPECT_STREQ(String().ToCString().c_str(), "");
}

TEST(StringConversion, Utf8EncodesEachCodeUnitByItself) {
    EXPECT_EQ(U(u"A\u00e9\u263a").ToUtf8(), "A\xC3\xA9\xE2\x98\xBA");
    // A lone surrogate is written as its own three bytes.
    EXPECT_EQ(U(u"\xd83d").ToUtf8(), "\xED\xA0\xBD");
}

TEST(StringLifetime, CopiesAndMovesKeepTheBodyAlive) {
    String original = String("abc") + String("def");
    String copy = original;
    EXPECT_TRUE(copy.SharesBody(original));
    String moved = std::move(copy);
    EXPECT_TRUE(moved.SharesBody(original));
    EXPECT_TRUE(copy.IsEmpty());  // NOLINT(bugprone-use-after-move): moved-from is empty
    original = String("other");
    EXPECT_EQ(Text(moved), "abcdef");
    String& alias = moved;
    moved = alias;  // self-assignment keeps the body
    EXPECT_EQ(Text(moved), "abcdef");
}

// The empty body is shared by every thread, so its count is never written.
TEST(StringLifetime, EmptyStringsMayBeUsedOnAnyThread) {
    std::vector<std::thread> workers;
    std::vector<int> empties(4, 0);
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&empties, t] {
            for (int i = 0; i < 2000; ++i) {
                String a;
                String b = a;
                String c("x");
                c = b;
                String d = c.Slice(3) + String();
                if (d.IsEmpty() && c.SharesBody(a)) ++empties[size_t(t)];
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    EXPECT_EQ(empties, std::vector<int>(4, 2000));
    EXPECT_EQ(String::nullRep.refs, 1);
}

}  // namespace
