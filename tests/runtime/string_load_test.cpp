// Decoding of loaded text: byte order marks, UTF-16 both ways, UTF-8, and the ISO 8859-1
// fallback for anything that is not valid UTF-8.
#include <gtest/gtest.h>

#include <cstdio>

#include "runtime/runtime.h"
#include "tests/support/scratch_dir.h"

namespace {

std::vector<int> Codes(const String& s) {
    std::vector<int> out;
    for (int i = 0; i < s.Length(); ++i) out.push_back(s[i]);
    return out;
}

String LoadBytes(const std::string& bytes) {
    ScratchDir dir;
    dir.Write("text", bytes);
    FILE* file = std::fopen(dir.File("text").c_str(), "rb");
    EXPECT_NE(file, nullptr);
    if (!file) return String();
    String s = String::Load(file);
    std::fclose(file);
    return s;
}

TEST(StringLoad, EmptyFileIsTheEmptyString) {
    String s = LoadBytes("");
    EXPECT_TRUE(s.SharesBody(String()));
}

TEST(StringLoad, Utf8WithAndWithoutByteOrderMark) {
    EXPECT_EQ(Codes(LoadBytes("\xEF\xBB\xBFh\xC3\xA9\xE2\x98\xBA")),
              (std::vector<int>{'h', 0xE9, 0x263A}));
    EXPECT_EQ(Codes(LoadBytes("plain")), (std::vector<int>{'p', 'l', 'a', 'i', 'n'}));
    EXPECT_TRUE(LoadBytes("\xEF\xBB\xBF").IsEmpty());
}

TEST(StringLoad, OverlongFormsAndSurrogatesAreAcceptedAsTheyCome) {
    EXPECT_EQ(Codes(LoadBytes("\xC0\x81")), (std::vector<int>{1}));
    EXPECT_EQ(Codes(LoadBytes("\xED\xA0\x80")), (std::vector<int>{0xD800}));
}

TEST(StringLoad, InvalidUtf8FallsBackToLatin1AfterTheMark) {
    // A two-byte lead at the very end.
    EXPECT_EQ(Codes(LoadBytes("ab\xC3")), (std::vector<int>{'a', 'b', 0xC3}));
    // A stray continuation byte.
    EXPECT_EQ(Codes(LoadBytes("\xA9x")), (std::vector<int>{0xA9, 'x'}));
    // A four-byte lead.
    EXPECT_EQ(Codes(LoadBytes("\xF0\x9F\x98\x80")), (std::vector<int>{0xF0, 0x9F, 0x98, 0x80}));
    // A missing continuation in a three-byte sequence; the mark is still skipped.
    EXPECT_EQ(Codes(LoadBytes("\xEF\xBB\xBF\xE2\x98z")), (std::vector<int>{0xE2, 0x98, 'z'}));
    // A three-byte sequence cut off by the end.
    EXPECT_EQ(Codes(LoadBytes("\xE2\x98")), (std::vector<int>{0xE2, 0x98}));
}

TEST(StringLoad, Utf16LittleEndian) {
    EXPECT_TRUE(LoadBytes(std::string("\xFF\xFE", 2)).IsEmpty());
    EXPECT_EQ(Codes(LoadBytes(std::string("\xFF\xFE"
                                          "A\0B",
                                          5))),
              (std::vector<int>{'A'}));
    EXPECT_EQ(Codes(LoadBytes(std::string("\xFF\xFE\x3A\x26\xE9\x00", 6))),
              (std::vector<int>{0x263A, 0xE9}));
}

TEST(StringLoad, Utf16BigEndian) {
    EXPECT_TRUE(LoadBytes("\xFE\xFF").IsEmpty());
    EXPECT_EQ(Codes(LoadBytes(std::string("\xFE\xFF\x26\x3A\x00"
                                          "A\x01",
                                          7))),
              (std::vector<int>{0x263A, 'A'}));
}

TEST(StringLoad, ReadsFilesLongerThanOneBlock) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i) bytes += char('a' + i % 26);
    bytes += "\xC3\xA9";
    String s = LoadBytes(bytes);
    ASSERT_EQ(s.Length(), 10001);
    EXPECT_EQ(s[4096], 'a' + 4096 % 26);
    EXPECT_EQ(s[10000], 0xE9);
    std::string exact(8192, 'z');
    EXPECT_EQ(LoadBytes(exact).Length(), 8192);
}

TEST(StringLoad, ReadsOnlyWhatRemainsOfAnOpenFile) {
    ScratchDir dir;
    dir.Write("text", "skipKEEP");
    FILE* file = std::fopen(dir.File("text").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::fseek(file, 4, SEEK_SET);
    String s = String::Load(file);
    std::fclose(file);
    EXPECT_EQ(s.ToUtf8(), "KEEP");
}

TEST(StringFromBytes, SharesTheDecoder) {
    const unsigned char latin[] = {'c', 0xE9};
    EXPECT_EQ(Codes(String::FromBytes(latin, 2)), (std::vector<int>{'c', 0xE9}));
    const unsigned char utf16[] = {0xFF, 0xFE, 'O', 0, 'K', 0};
    EXPECT_EQ(String::FromBytes(utf16, 6).ToUtf8(), "OK");
    EXPECT_TRUE(String::FromBytes(nullptr, 0).IsEmpty());
}

}  // namespace

namespace {

// Whatever 16-bit text is written as UTF-8 decodes back to itself, unless it begins with
// U+FEFF, whose encoding is the byte order mark that loading skips.
bool RoundTrips(const String& s) {
    std::string bytes = s.ToUtf8();
    String back = String::FromBytes(reinterpret_cast<const unsigned char*>(bytes.data()),
                                    int(bytes.size()));
    if (s.Length() > 0 && s[0] == 0xFEFF) return back == s.Slice(1);
    return back == s;
}

TEST(StringFromBytes, Utf8WrittenByToUtf8ReadsBack) {
    uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint16_t> chars(next() % 40);
        for (uint16_t& c : chars) {
            uint32_t r = next();
            // Mix ASCII, two- and three-byte ranges, surrogates and the edges.
            const uint16_t edges[] = {0, 0x7F, 0x80, 0x7FF, 0x800, 0xD800, 0xDFFF, 0xFEFF, 0xFFFF};
            switch (r % 4) {
                case 0: c = uint16_t(r >> 4 & 0x7F); break;
                case 1: c = uint16_t(0x80 + (r >> 4) % 0x780); break;
                case 2: c = uint16_t(r >> 4); break;
                default: c = edges[(r >> 4) % 9]; break;
            }
        }
        String s(chars.data(), int(chars.size()));
        ASSERT_TRUE(RoundTrips(s)) << "round " << round;
    }
}

}  // namespace
