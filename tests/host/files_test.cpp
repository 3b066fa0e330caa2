// Location URLs, file paths, and loading whole files, pictures and sounds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sys/stat.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

#include "host/data_path.h"
#include "host/file_name.h"
#include "host/glfw_game.h"
#include "tests/host/collector_reset.h"
#include "tests/host/png_writer.h"
#include "tests/support/scratch_dir.h"

namespace {

std::string Utf8(const String& s) { return s.ToUtf8(); }

TEST(FixDataPath, BareNamesBecomeDataLocationsOthersStayAsTheyAre) {
    const std::pair<const char*, const char*> cases[] = {
        {"images/x.png", "pellix://data/images/x.png"},
        {"x.png", "pellix://data/x.png"},
        {"", "pellix://data/"},
        {"./x.png", "./x.png"},
        {"/x.png", "/x.png"},
        {"pellix://internal/x", "pellix://internal/x"},
        {"http://h/a.png", "http://h/a.png"},
        {"file:/tmp/a", "file:/tmp/a"},
        // ":/" counts as a scheme only where it comes before any other "/".
        {"a/b:/c", "pellix://data/a/b:/c"}};
    for (const auto& [path, fixed] : cases) EXPECT_EQ(Utf8(qv_data_FixDataPath(path)), fixed);
}

TEST(ResolveLocation, LocationsMapBesideTheApplicationUnknownOnesToNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"pellix://data/gfx/a.png", "C:/Games/V/data/gfx/a.png"},
        {"pellix://internal/save.txt", "C:/Games/V/internal/save.txt"},
        {"pellix://external/e.dat", "C:/Games/V/external/e.dat"},
        {"pellix://other/x", ""},
        {"pellix:data/x", ""},
        // Prefixes are case-sensitive.
        {"pellix://DATA/x", ""},
        {"Pellix://data/x", "Pellix://data/x"},
        {"../a/b.txt", "../a/b.txt"}};
    for (const auto& [location, file] : cases)
        EXPECT_EQ(Utf8(QvResolveLocation(location, "C:/Games/V")), file) << location;
}

TEST(ApplicationDirectory, IsTheFolderOfTheRunningProgram) {
    char exe[PATH_MAX + 1] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, PATH_MAX), 0);
    std::string expected(exe);
    expected = expected.substr(0, expected.rfind('/'));
    EXPECT_EQ(QvEncodeFileName(QvApplicationDirectory()), expected);
    QvGlfwGame host;
    EXPECT_EQ(QvEncodeFileName(host.PathToFilePath("pellix://data/gfx/a.png")),
              expected + "/data/gfx/a.png");
    EXPECT_EQ(QvEncodeFileName(host.PathToFilePath("pellix://internal/s")),
              expected + "/internal/s");
}

std::vector<uint16_t> Units(const String& s) {
    return std::vector<uint16_t>(s.Data(), s.Data() + s.Length());
}

TEST(FileNames, AnyBytesComeBackUnchanged) {
    std::vector<std::string> names = {"plain",
                                      "caf\xc3\xa9",
                                      "\xf0\x9f\x8e\xae game",
                                      "caf\xe9",
                                      "\x80",
                                      "\xc0\xaf",
                                      "\xed\xa0\x80\xed\xb0\x80",
                                      "\xe2\x82",
                                      "\xf4\x90\x80\x80",
                                      "\xf0\x9f\x8e",
                                      "\xff\xfe",
                                      "a\\b",
                                      "\xf0\x9f\x8e\xae\xae",
                                      "\xed\xb2\x80"};
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) names.push_back({char(a), char(b)});
    }
    // Longer names, mostly high bytes, so lead and continuation bytes meet in every order.
    uint32_t seed = 12345;
    for (int n = 0; n < 20000; ++n) {
        std::string name;
        for (int k = 0; k < 1 + n % 9; ++k) {
            seed = seed * 1103515245u + 12345u;
            name.push_back(char(0x80 | (seed >> 16 & 0x7F)));
        }
        names.push_back(name);
    }
    for (const std::string& name : names) {
        ASSERT_EQ(QvEncodeFileName(QvDecodeFileName(name)), name) << ::testing::PrintToString(name);
    }
}

TEST(FileNames, TheProgramSeesCharactersAndEscapedBytes) {
    // A character beyond the basic plane is a surrogate pair; a stray byte an escape.
    EXPECT_EQ(Units(QvDecodeFileName("\xf0\x9f\x8e\xae")), (std::vector<uint16_t>{0xD83C, 0xDFAE}));
    EXPECT_EQ(Units(QvDecodeFileName("caf\xc3\xa9")), (std::vector<uint16_t>{'c', 'a', 'f', 0xE9}));
    EXPECT_EQ(Units(QvDecodeFileName("caf\xe9")), (std::vector<uint16_t>{'c', 'a', 'f', 0xDCE9}));
    EXPECT_EQ(Units(QvDecodeFileName("\xe2\x82/")), (std::vector<uint16_t>{0xDCE2, 0xDC82, '/'}));
    // Names the program makes itself are plain UTF-8.
    const std::vector<uint16_t> euro = {0x20AC, 'x'};
    EXPECT_EQ(QvEncodeFileName(String(euro.data(), 2)),
              "\xe2\x82\xac"
              "x");
}

class FileLoadingTest : public ::testing::Test {
protected:
    void SetUp() override { ReleaseCollectedObjects(); }
    void TearDown() override { ReleaseCollectedObjects(); }
    ScratchDir dir;
    QvGlfwGame host;
};

// A copy of the program in a folder whose name is given as bytes finds its data there.
TEST_F(FileLoadingTest, DataBesideAProgramInAnUnusuallyNamedFolderIsFound) {
    for (const std::string name :
         {"\xf0\x9f\x8e\xae game", "caf\xe9", "caf\xc3\xa9", "back\\slash"}) {
        SCOPED_TRACE(::testing::PrintToString(name));
        const std::string folder = dir.File(name);
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        ASSERT_EQ(mkdir((folder + "/data").c_str(), 0755), 0);
        dir.Write(name + "/data/blob.bin", "found");
        const String appDir = QvDirectoryOfExecutable(folder + "/vortan");
        EXPECT_EQ(QvEncodeFileName(appDir), folder);
        int length = 0;
        unsigned char* data = host.LoadData(QvResolveLocation("pellix://data/blob.bin", appDir),
                                            &length);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size_t(length)), "found");
        free(data);
    }
}

TEST_F(FileLoadingTest, UnknownLocationsAndMissingFilesGiveNothing) {
    int length = -5;
    EXPECT_EQ(host.OpenFile("pellix://other/x", "rb"), nullptr);
    EXPECT_EQ(host.OpenFile(String(dir.File("missing").c_str()), "rb"), nullptr);
    EXPECT_EQ(host.LoadData(String(dir.File("missing").c_str()), &length), nullptr);
    EXPECT_EQ(length, -5);
    EXPECT_TRUE(host.LoadString(String(dir.File("missing").c_str())).IsEmpty());
    int w, h, d;
    EXPECT_EQ(host.LoadImageData(String(dir.File("missing.png").c_str()), &w, &h, &d), nullptr);
}

TEST_F(FileLoadingTest, LoadDataReadsTheWholeFileAcrossBlocks) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i) bytes.push_back(char(i * 7 + i / 256));
    dir.Write("blob.bin", bytes);
    dir.Write("empty.bin", "");
    int before = gc_ext_new_bytes;
    int length = 0;
    unsigned char* data = host.LoadData(String(dir.File("blob.bin").c_str()), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size_t(length)), bytes);
    EXPECT_EQ(gc_ext_new_bytes - before, 10000);
    free(data);
    unsigned char* empty = host.LoadData(String(dir.File("empty.bin").c_str()), &length);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(length, 0);
    free(empty);
}

TEST_F(FileLoadingTest, LoadStringDecodesUtf8Text) {
    dir.Write("t.txt", "caf\xc3\xa9 \xe2\x82\xac");
    String text = host.LoadString(String(dir.File("t.txt").c_str()));
    ASSERT_EQ(text.Length(), 6);
    EXPECT_EQ(text[3], 0xE9);
    EXPECT_EQ(text[5], 0x20AC);
}

TEST_F(FileLoadingTest, PicturesKeepTheirOwnChannelCount) {
    const std::vector<uint8_t> rgba = {255, 0,  0,  255, 0,  255, 0,  128, 0,  0,   255, 0,
                                       10,  20, 30, 40,  50, 60,  70, 80,  90, 100, 110, 120};
    dir.Write("rgba.png", EncodePng(3, 2, 4, rgba));
    const std::vector<uint8_t> grey = {0, 64, 128, 255};
    dir.Write("grey.png", EncodePng(2, 2, 1, grey));
    int w = 0, h = 0, d = 0;
    unsigned char* pixels = host.LoadImageData(String(dir.File("rgba.png").c_str()), &w, &h, &d);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(d, 4);
    EXPECT_EQ(std::vector<uint8_t>(pixels, pixels + 24), rgba);
    free(pixels);
    pixels = host.LoadImageData(String(dir.File("grey.png").c_str()), &w, &h, &d);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(d, 1);
    EXPECT_EQ(std::vector<uint8_t>(pixels, pixels + 4), grey);
    free(pixels);
    dir.Write("broken.png", "\x89PNG\r\n\x1a\nnot really");
    EXPECT_EQ(host.LoadImageData(String(dir.File("broken.png").c_str()), &w, &h, &d), nullptr);
}

std::string Wav16Mono(const std::vector<int16_t>& samples, int hertz) {
    auto le = [](std::string& s, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) s.push_back(char((v >> (8 * i)) & 0xff));
    };
    std::string data;
    for (int16_t v : samples) le(data, uint16_t(v), 2);
    std::string w = "RIFF";
    le(w, uint32_t(36 + data.size()), 4);
    w += "WAVEfmt ";
    le(w, 16, 4);
    le(w, 1, 2);  // PCM
    le(w, 1, 2);  // mono
    le(w, uint32_t(hertz), 4);
    le(w, uint32_t(hertz * 2), 4);
    le(w, 2, 2);
    le(w, 16, 2);
    w += "data";
    le(w, uint32_t(data.size()), 4);
    return w + data;
}

TEST_F(FileLoadingTest, SoundsAreDecodedByTheirEnding) {
    const std::vector<int16_t> samples = {0, 1000, -1000, 32767, -32768, 5};
    dir.Write("beep.WAV", Wav16Mono(samples, 22050));
    dir.Write("beep.raw", Wav16Mono(samples, 22050));
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* data = host.LoadAudioData(String(dir.File("beep.WAV").c_str()), &length,
                                             &channels, &format, &hertz);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 6);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(format, 2);
    EXPECT_EQ(hertz, 22050);
    EXPECT_EQ(reinterpret_cast<int16_t*>(data)[3], 32767);
    free(data);
    EXPECT_EQ(host.LoadAudioData(String(dir.File("beep.raw").c_str()), &length, &channels, &format,
                                 &hertz),
              nullptr);
}

TEST(GetDate, FillsAsManyFieldsAsTheArrayHolds) {
    QvGame host;
    Array<int> three(3);
    Array<int> seven(7);
    std::time_t now = std::time(nullptr);
    std::tm local;
    localtime_r(&now, &local);
    host.GetDate(three);
    host.GetDate(seven);
    EXPECT_EQ(three[0], local.tm_year + 1900);
    EXPECT_EQ(three[1], local.tm_mon + 1);
    EXPECT_EQ(three[2], local.tm_mday);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(seven[i], three[i]);
    EXPECT_GE(seven[3], 0);
    EXPECT_LT(seven[3], 24);
    EXPECT_LT(seven[4], 60);
    EXPECT_LE(seven[5], 60);
    EXPECT_EQ(seven[6], 0);
    Array<int> empty;
    host.GetDate(empty);
    EXPECT_EQ(empty.Length(), 0);
}

}  // namespace
