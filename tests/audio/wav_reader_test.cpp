// The WAV reader against files built byte by byte: what loads, what is refused, and that
// broken or hostile headers are refused without crashing or over-reading.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "audio/sound_file.h"
#include "tests/audio/sound_reading.h"
#include "tests/audio/wav_bytes.h"

namespace {

FILE* MemoryFile(const std::string& bytes) {
    FILE* f = tmpfile();
    fwrite(bytes.data(), 1, bytes.size(), f);
    rewind(f);
    return f;
}

ReadSound Load(const std::string& bytes) {
    FILE* f = MemoryFile(bytes);
    ReadSound d = ReadStream(f, LoadWAV);
    fclose(f);
    return d;
}

std::string Ramp(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += char(i * 7 + 3);
    return s;
}

TEST(ReadInt, LittleEndianAndShortRead) {
    FILE* f = MemoryFile(
        std::string("\x01\x02\x03\x04\xfe\xff\xff\x7f\xff\xff\xff\xff\x09\x08", 14));
    EXPECT_EQ(readInt(f), 0x04030201);
    EXPECT_EQ(readInt(f), 0x7ffffffe);
    EXPECT_EQ(readInt(f), -1);
    EXPECT_EQ(readInt(f), -1) << "two bytes left are not an int";
    fclose(f);
}

TEST(WavReader, LoadsEachPcmLayoutUnchanged) {
    struct Case {
        int channels, bits, hertz, bytes, frames;
    };
    for (Case c : {Case{1, 8, 11025, 300, 300}, Case{2, 8, 22050, 300, 150},
                   Case{1, 16, 44100, 300, 150}, Case{2, 16, 8000, 4000, 1000},
                   Case{1, 8, 6000, 30, 30}, Case{2, 16, 384000, 400, 100}, Case{1, 16, 1, 4, 2}}) {
        SCOPED_TRACE(testing::Message() << c.channels << " ch " << c.bits << " bit");
        std::string samples = Ramp(c.bytes);
        ReadSound d = Load(PcmWav(c.channels, c.hertz, c.bits, samples));
        ASSERT_TRUE(d.data);
        EXPECT_EQ(d.length, c.frames);
        EXPECT_EQ(d.channels, c.channels);
        EXPECT_EQ(d.format, c.bits / 8);
        EXPECT_EQ(d.hertz, c.hertz);
        EXPECT_EQ(d.Bytes(), samples)
            << "samples stay as stored (unsigned 8-bit, little-endian 16-bit)";
    }
}

TEST(WavReader, SkipsFormatExtensionAndOtherChunksBeforeData) {
    std::string samples = Ramp(64);
    ReadSound d = Load(
        RiffWave({FmtChunk(1, 1, 22050, 16, 2), Chunk("LIST", "INFOISFT\x04\0\0\0abc\0"),
                  Chunk("fact", Le32(32)), Chunk("data", samples), Chunk("LIST", "tail")}));
    ASSERT_TRUE(d.data);
    EXPECT_EQ(d.length, 32);
    EXPECT_EQ(d.Bytes(), samples);
}

TEST(WavReader, FrameCountRoundsDownForAPartialFrameAndMayBeZero) {
    ReadSound partial = Load(PcmWav(2, 22050, 16, Ramp(10)));
    ASSERT_TRUE(partial.data);
    EXPECT_EQ(partial.length, 2);
    ReadSound empty = Load(PcmWav(1, 22050, 16, ""));
    ASSERT_TRUE(empty.data);
    EXPECT_EQ(empty.length, 0);
}

TEST(WavReader, RefusesWhatIsNotPlainPcmWaveOrReachesBeyondTheFile) {
    std::string data = Chunk("data", Ramp(100));
    std::string fmt = FmtChunk(1, 1, 22050, 16);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"not RIFF", "RIFX" + RiffWave({fmt, data}).substr(4)},
        {"not WAVE", "RIFF" + Le32(20) + "AVI " + fmt + data},
        {"float samples", RiffWave({FmtChunk(3, 1, 22050, 32), data})},
        {"ADPCM", RiffWave({FmtChunk(2, 1, 22050, 4), data})},
        {"fmt not first", RiffWave({Chunk("LIST", "abcd"), fmt, data})},
        {"no data chunk", RiffWave({fmt, Chunk("LIST", "abcd")})},
        {"no chunks at all", RiffWave({})},
        {"zero channels", RiffWave({FmtChunk(1, 0, 22050, 16), data})},
        {"zero bits per sample", RiffWave({FmtChunk(1, 1, 22050, 0), data})},
        {"four bits per sample", RiffWave({FmtChunk(1, 1, 22050, 4), data})},
        {"zero sample rate", RiffWave({FmtChunk(1, 1, 0, 16), data})},
        // Layouts the audio device cannot play.
        {"three channels", RiffWave({FmtChunk(1, 3, 22050, 16), data})},
        {"rate 384001", RiffWave({FmtChunk(1, 1, 384001, 16), data})},
        {"rate 2^31, negative as an int", RiffWave({FmtChunk(1, 1, int(0x80000000u), 8), data})},
        {"24 bits per sample", RiffWave({FmtChunk(1, 1, 22050, 24), data})},
        // Samples that are not whole bytes, or frames of another size than their block.
        {"12 bits per sample in 16-bit slots", RiffWave({FmtChunk(1, 1, 8000, 12), data})},
        {"mono 16-bit, block 4", RiffWave({fmt.substr(0, 20) + Le16(4) + fmt.substr(22), data})},
        {"fmt chunk too short", RiffWave({ChunkWithSize("fmt ", 8, fmt.substr(8, 8)), data})},
        // Sizes that reach beyond the file.
        {"data cut short", RiffWave({fmt, ChunkWithSize("data", 1000, Ramp(500))})},
        {"data one byte short", RiffWave({fmt, ChunkWithSize("data", 101, Ramp(100))})},
        {"data size 2 GiB - 1", RiffWave({fmt, ChunkWithSize("data", 0x7fffffff, Ramp(16))})},
        {"data size 4 GiB - 1", RiffWave({fmt, ChunkWithSize("data", 0xffffffff, Ramp(16))})},
        {"data size 2 GiB", RiffWave({fmt, ChunkWithSize("data", 0x80000000, Ramp(16))})},
        {"LIST larger than the file",
         RiffWave({fmt, ChunkWithSize("LIST", 0x7ffffff0, "x"), data})},
        {"LIST size 4 GiB - 1", RiffWave({fmt, ChunkWithSize("LIST", 0xffffffff, "x"), data})},
        {"fmt larger than the file",
         RiffWave({ChunkWithSize("fmt ", 0x7fffffff, fmt.substr(8)), data})},
        {"tag cut off", RiffWave({fmt}) + "da"},
        {"size field cut off", RiffWave({fmt}) + "data" + Le16(16)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Load(c.bytes).data) << c.what;
    }
}

TEST(WavReader, EveryTruncationOfAValidFileIsRefused) {
    std::string whole = RiffWave(
        {FmtChunk(1, 2, 22050, 16, 2), Chunk("LIST", "abcdef"), Chunk("data", Ramp(40))});
    ASSERT_TRUE(Load(whole).data);
    for (size_t n = 0; n < whole.size(); ++n) {
        EXPECT_FALSE(Load(whole.substr(0, n)).data) << "cut at " << n;
    }
}

TEST(WavReader, ReadsFromTheCurrentPositionOfTheStream) {
    std::string samples = Ramp(20);
    FILE* f = MemoryFile("junk" + PcmWav(1, 8000, 8, samples));
    fseek(f, 4, SEEK_SET);
    ReadSound d = ReadStream(f, LoadWAV);
    fclose(f);
    ASSERT_TRUE(d.data);
    EXPECT_EQ(d.Bytes(), samples);
}

}  // namespace
