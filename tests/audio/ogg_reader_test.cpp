// The Ogg Vorbis reader on files encoded by oggenc from tones the test writes itself.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <tuple>

#include "audio/sound_file.h"
#include "audio/vorbis_decoder.h"
#include "tests/audio/damaged_tune.h"
#include "tests/audio/sound_reading.h"
#include "tests/audio/wav_bytes.h"
#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"

namespace {

// Encodes a sine tone to Ogg Vorbis with oggenc; returns the .ogg path.
std::string EncodeTone(const ScratchDir& dir, const std::string& name, int frames, int channels,
                       int hertz, const std::string& comment = "TITLE=tone") {
    std::string wav = dir.File(name + ".wav");
    std::string ogg = dir.File(name + ".ogg");
    EXPECT_TRUE(
        WriteFile(wav, PcmWav(channels, hertz, 16, Sine16(frames, channels, hertz, 440.0, 0.5))));
    ProcessResult r = RunProcess({"/usr/bin/oggenc", "-Q", "-c", comment, "-o", ogg, wav});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return ogg;
}

double Rms(const int16_t* samples, long count) {
    double sum = 0;
    for (long i = 0; i < count; ++i) sum += double(samples[i]) * samples[i];
    return count ? std::sqrt(sum / count) : 0.0;
}

TEST(OggReader, MonoToneDecodesToItsExactLength) {
    ScratchDir dir;
    ReadSound r = ReadFile(EncodeTone(dir, "mono", 10000, 1, 22050), LoadOGG);
    ASSERT_TRUE(r.data);
    EXPECT_EQ(r.length, 10000);
    EXPECT_EQ(r.channels, 1);
    EXPECT_EQ(r.format, 2);
    EXPECT_EQ(r.hertz, 22050);
    // A half-scale sine has an RMS of about 0.35 of full scale.
    EXPECT_NEAR(Rms(r.Samples(), r.length), 0.5 * 32767 / std::sqrt(2.0), 1500.0);
}

TEST(OggReader, LongStereoToneOutgrowsTheFirstBlock) {
    ScratchDir dir;
    const int frames = 3 * 44100 + 17;
    ReadSound r = ReadFile(EncodeTone(dir, "stereo", frames, 2, 44100), LoadOGG);
    ASSERT_TRUE(r.data);
    EXPECT_EQ(r.length, frames);
    EXPECT_EQ(r.channels, 2);
    EXPECT_EQ(r.hertz, 44100);
    // The last frame decoded is inside the block: both channels carry the same tone.
    double left = 0, right = 0;
    for (int i = frames - 1000; i < frames; ++i) {
        left += std::abs(r.Samples()[2 * i]);
        right += std::abs(r.Samples()[2 * i + 1]);
    }
    EXPECT_GT(left, 1000.0 * 5000);
    EXPECT_NEAR(left, right, left * 0.05);
}

TEST(OggReader, RefusesWhatIsNotVorbis) {
    ScratchDir dir;
    std::string wav = dir.File("tone.wav");
    ASSERT_TRUE(WriteFile(wav, PcmWav(1, 22050, 16, Sine16(2000, 1, 22050, 440.0, 0.5))));
    std::string empty = dir.File("empty.ogg");
    ASSERT_TRUE(WriteFile(empty, ""));
    for (const std::string& path : {wav, empty}) {
        ReadSound r = ReadFile(path, LoadOGG);
        EXPECT_FALSE(r.data) << path;
    }
}

TEST(OggReader, TruncatedFileGivesAShorterSampleOrNothing) {
    ScratchDir dir;
    std::string ogg = EncodeTone(dir, "cut", 20000, 1, 22050);
    std::string bytes = dir.Read("cut.ogg");
    ASSERT_GT(bytes.size(), 200u);
    for (size_t keep : {size_t(100), bytes.size() / 2, bytes.size() - 1}) {
        ASSERT_TRUE(WriteFile(ogg, bytes.substr(0, keep)));
        ReadSound r = ReadFile(ogg, LoadOGG);
        if (!r.data) continue;
        EXPECT_GE(r.length, 0) << keep;
        EXPECT_LE(r.length, 20000) << keep;
        if (keep <= bytes.size() / 2) {
            EXPECT_LT(r.length, 15000) << keep;
        }
    }
}

// The comment header of an oggenc file, with one of its length fields overwritten: a
// stream whose comment lengths overrun their packet is refused before it is decoded.
TEST(OggReader, RefusesCommentLengthsThatOverrunTheirPacket) {
    ScratchDir dir;
    std::string ogg = EncodeTone(dir, "tags", 4000, 1, 22050);
    const std::string bytes = dir.Read("tags.ogg");
    size_t page = bytes.find("OggS", 4);
    ASSERT_NE(page, std::string::npos);
    size_t packet = page + 27 + uint8_t(bytes[page + 26]);
    ASSERT_EQ(bytes.substr(packet, 7), "\x03vorbis");
    auto at32 = [&](size_t at) {
        return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
               uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
    };
    size_t vendorLength = packet + 7;
    size_t count = vendorLength + 4 + at32(vendorLength);
    ASSERT_EQ(at32(count), 1u) << "the TITLE comment";
    size_t firstComment = count + 4;
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
    };
    for (Case c : {Case{"vendor length -1", vendorLength, 0xffffffffu},
                   Case{"vendor length past the packet", vendorLength, 100000u},
                   Case{"comment count 2^31 - 1", count, 0x7fffffffu},
                   Case{"comment count -1", count, 0xffffffffu},
                   Case{"comment length -1", firstComment, 0xffffffffu},
                   Case{"comment length past the packet", firstComment, 60000u}}) {
        ASSERT_TRUE(WriteFile(ogg, bytes.substr(0, c.at) + Le32(c.value) + bytes.substr(c.at + 4)));
        ReadSound r = ReadFile(ogg, LoadOGG);
        EXPECT_FALSE(r.data) << c.what;
    }
    ASSERT_TRUE(WriteFile(ogg, bytes));
    ReadSound intact = ReadFile(ogg, LoadOGG);
    EXPECT_EQ(intact.length, 4000) << "the untouched file still loads";
}

// Layouts the audio device cannot play are refused like undecodable files, whatever the
// stream says: the game's tune with impossible rates in its header (one of them read back
// as negative once), a tone of three channels; and a 200-byte header that claims a codebook
// far larger than its file can describe is refused before it is filled (its speed is in
// bench_audio_decoders). Any rate from 1 to 384000 loads, 6000 Hz effects among them.
TEST(OggReader, RefusesLayoutsTheDeviceCannotPlayAndHeadersLargerThanTheirFile) {
    const std::string tune = BytesOf("data/sfx/gale.ogg");
    ASSERT_GT(tune.size(), 4096u);
    auto load = [](const std::string& bytes) {
        return ReadBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), LoadOGG);
    };
    ASSERT_TRUE(load(tune).data) << "the tune itself";
    struct Case {
        const char* what;
        std::string bytes;
    };
    ScratchDir dir;
    const Case cases[] = {
        {"rate 2^31 - 1", TuneWithRate(tune, 0x7fffffffu)},
        {"rate 0xffff7c00, negative as an int", TuneWithRate(tune, 0xffff7c00u)},
        {"rate 0", TuneWithRate(tune, 0)},
        {"rate 384001", TuneWithRate(tune, 384001)},
        {"three channels", BytesOf(EncodeTone(dir, "three", 4000, 3, 22050))},
        {"a codebook of 6.9 million entries in 200 bytes", TuneHeaderClaimingAHugeCodebook(tune)},
    };
    for (const Case& c : cases) {
        ASSERT_GT(c.bytes.size(), 100u) << c.what;
        EXPECT_FALSE(load(c.bytes).data) << c.what;
    }
    const std::string tone = BytesOf(EncodeTone(dir, "edge", 4000, 2, 8000));
    for (int hertz : {1, 6000, 384000}) {
        ReadSound r = load(TuneWithRate(tone, uint32_t(hertz)));
        ASSERT_TRUE(r.data) << hertz;
        EXPECT_EQ(r.hertz, hertz);
        EXPECT_EQ(r.length, 4000);
    }
}

// Decoded values become samples in range; a packet holding one far beyond full scale, or
// one not a number, is damage (fuzzing found a packet decoding to values near 2^32).
TEST(OggReader, ValuesAreClampedToSamplesAndPacketsFarBeyondFullScaleAreDamage) {
    const std::tuple<float, short, bool> cases[] = {
        {-1.5f / 32768, -2, false}, {1, 32767, false},       {-kVorbisLoudest, -32768, false},
        {4.01f, 32767, true},       {-5.5e8f, -32768, true}, {NAN, 0, true}};
    for (auto [value, sample, damage] : cases) {
        EXPECT_EQ(VorbisSample(value), sample) << value;
        float quiet[] = {0.1f, -0.2f, 0.3f}, mixed[] = {0.1f, value, 0.3f};
        float* channels[] = {quiet, mixed};
        EXPECT_EQ(VorbisPacketDamaged(channels, 2, 3), damage) << value;
    }
}

}  // namespace
