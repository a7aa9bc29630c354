// WAV files as other tools write them, read through SDL into the mix format:
// chunks before the data, other depths, rates and layouts, float, and files
// that are broken or cut short.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "framework/audio_wav.h"
#include "support/wav_bytes.h"

namespace {

using namespace wavbytes;
constexpr int kCh = AudioMixer::kChannels;

AudioFrames decode(const Bytes& bytes) {
    AudioFrames frames;
    EXPECT_TRUE(decode_wav_for_mix(bytes.data(), bytes.size(), frames));
    return frames;
}

bool decodes(const Bytes& bytes) {
    AudioFrames frames;
    const bool ok = decode_wav_for_mix(bytes.data(), bytes.size(), frames);
    if (!ok) {
        EXPECT_TRUE(frames.empty());
    }
    return ok;
}

std::int16_t left(const AudioFrames& f, std::size_t frame) { return f[frame * kCh]; }
std::int16_t right(const AudioFrames& f, std::size_t frame) { return f[frame * kCh + 1]; }

TEST(WavReadTest, MonoAtTheMixRateIsCopiedToBothChannelsExactly) {
    const AudioFrames frames = decode(monoRamp(3000));
    ASSERT_EQ(frames.size(), 3000u * kCh);
    for (std::size_t i = 0; i < 3000; ++i) {
        ASSERT_EQ(left(frames, i), static_cast<std::int16_t>(i + 1)) << i;
        ASSERT_EQ(right(frames, i), static_cast<std::int16_t>(i + 1)) << i;
    }
}

TEST(WavReadTest, ChunksBeforeTheDataAreSkippedNotPlayed) {
    // The Part's fixed 44-byte header would take the LIST chunk's bytes for
    // samples and the LIST size for the data size.
    const Bytes file = wav(Format{}, pcm16(ramp(500)), extraChunks());
    ASSERT_NE(file[36], 'd');  // the data chunk is not where the 44-byte reader looks
    const AudioFrames frames = decode(file);
    ASSERT_EQ(frames.size(), 500u * kCh);
    for (std::size_t i = 0; i < 500; ++i) ASSERT_EQ(left(frames, i), static_cast<std::int16_t>(i + 1));
}

TEST(WavReadTest, StereoKeepsItsChannelsApart) {
    std::vector<std::int16_t> samples;
    for (int i = 0; i < 400; ++i) {
        samples.push_back(static_cast<std::int16_t>(1000 + i));
        samples.push_back(static_cast<std::int16_t>(-2000 - i));
    }
    const AudioFrames frames = decode(wav(Format{1, 2, 44100, 16}, pcm16(samples)));
    ASSERT_EQ(frames, AudioFrames(samples.begin(), samples.end()));
}

TEST(WavReadTest, EightBitUnsignedSamplesAreCentredAndWidened) {
    const Bytes data = {128, 192, 64, 255, 0};
    const AudioFrames frames = decode(wav(Format{1, 1, 44100, 8}, data));
    ASSERT_EQ(frames.size(), 5u * kCh);
    EXPECT_EQ(left(frames, 0), 0);
    EXPECT_NEAR(left(frames, 1), 64 * 256, 2);
    EXPECT_NEAR(left(frames, 2), -64 * 256, 2);
    EXPECT_NEAR(left(frames, 3), 127 * 256, 2);
    EXPECT_NEAR(left(frames, 4), -128 * 256, 2);
}

TEST(WavReadTest, FloatAndTwentyFourBitSamplesConvert) {
    const AudioFrames fromFloat =
        decode(wav(Format{3, 1, 44100, 32}, float32(std::vector<float>(100, 0.5f))));
    ASSERT_EQ(fromFloat.size(), 100u * kCh);
    EXPECT_NEAR(left(fromFloat, 50), 16384, 2);
    const AudioFrames from24 =
        decode(wav(Format{1, 1, 44100, 24}, pcm24(std::vector<std::int32_t>(100, -0x200000))));
    ASSERT_EQ(from24.size(), 100u * kCh);
    EXPECT_NEAR(left(from24, 50), -0x2000, 2);
}

// A steady level at another rate comes out as long as it lasted and at the
// same level; only the edges of a resampled block may ring.
struct RateCase {
    int rate;
    int channels;
    int bits;
};

class WavRateTest : public ::testing::TestWithParam<RateCase> {};

TEST_P(WavRateTest, LengthAndLevelSurviveTheRateChange) {
    const RateCase c = GetParam();
    const int inFrames = c.rate / 4;  // a quarter of a second
    Bytes data;
    for (int i = 0; i < inFrames; ++i) {
        for (int ch = 0; ch < c.channels; ++ch) {
            if (c.bits == 8) {
                data.push_back(ch == 0 ? 128 + 40 : 128 - 40);
            } else {
                append_le16(data, static_cast<std::uint16_t>(ch == 0 ? 10240 : -10240));
            }
        }
    }
    const AudioFrames frames = decode(wav(Format{1, c.channels, c.rate, c.bits}, data));
    const std::size_t expected = (static_cast<std::size_t>(inFrames) * 44100 + c.rate / 2) / c.rate;
    ASSERT_EQ(frames.size(), expected * kCh);
    for (std::size_t i = expected / 4; i < expected * 3 / 4; ++i) {
        ASSERT_NEAR(left(frames, i), 10240, 200) << i;
        // Mono plays the same on both sides; stereo keeps its right.
        ASSERT_NEAR(right(frames, i), c.channels == 1 ? 10240 : -10240, 200) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(CommonRates, WavRateTest,
                         ::testing::Values(RateCase{8000, 1, 8}, RateCase{11025, 1, 8},
                                           RateCase{22050, 1, 16}, RateCase{22050, 2, 8},
                                           RateCase{32000, 2, 16}, RateCase{48000, 2, 16},
                                           RateCase{96000, 1, 16}));

TEST(WavReadTest, ASoundLastsAsLongAtAnyRate) {
    // The end of a resampled sound is not lost in the converter.
    const int rate = 8000;
    const AudioFrames frames =
        decode(wav(Format{1, 1, rate, 16}, pcm16(std::vector<std::int16_t>(800, 8000))));
    ASSERT_EQ(frames.size(), 4410u * kCh);
    EXPECT_NEAR(left(frames, 4300), 8000, 300);
}

TEST(WavReadTest, BrokenFilesStaySilent) {
    const Bytes good = monoRamp(100);
    EXPECT_FALSE(decodes({}));
    EXPECT_FALSE(decodes(Bytes(good.begin(), good.begin() + 20)));  // cut inside the header
    EXPECT_FALSE(decodes(Bytes(200, 0xAB)));                          // not a RIFF file
    EXPECT_FALSE(decodes(wav(Format{}, {})));                         // no samples
    EXPECT_FALSE(decodes(wav(Format{0x55, 1, 44100, 16}, Bytes(400, 1))));  // MPEG layer 3
    EXPECT_FALSE(decodes(wav(Format{1, 0, 44100, 16}, Bytes(400, 1))));     // no channels
    EXPECT_FALSE(decodes(wav(Format{1, 1, 0, 16}, Bytes(400, 1))));         // no rate
    EXPECT_FALSE(decodes(wav(Format{1, 1, 44100, 12}, Bytes(400, 1))));     // 12-bit PCM
    Bytes noData;
    putTag(noData, "RIFF");
    append_le32(noData, 4 + 8 + 16);
    putTag(noData, "WAVE");
    putChunk(noData, "fmt ", formatChunkBody(Format{}));
    EXPECT_FALSE(decodes(noData));
}

TEST(WavReadTest, MonoOfAnyLengthEndsRight) {
    // SDL 2.26 widens mono to stereo wrongly in the last frames of a block
    // that is not a multiple of four frames long.
    for (int n : {149, 150, 151, 1001, 1002, 1003}) {
        const AudioFrames frames = decode(monoRamp(n));
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(n) * kCh);
        for (int i = n - 8; i < n; ++i) {
            ASSERT_EQ(left(frames, i), i + 1) << n;
            ASSERT_EQ(right(frames, i), i + 1) << n;
        }
    }
}

TEST(WavReadTest, ATruncatedFilePlaysWhatItHoldsOrNothing) {
    // The data chunk says 20000 bytes; 300 are there.
    const Bytes cut = wav(Format{}, pcm16(ramp(150)), {}, 20000);
    AudioFrames frames;
    if (decode_wav_for_mix(cut.data(), cut.size(), frames)) {
        ASSERT_LE(frames.size(), 150u * kCh);
        for (std::size_t i = 0; i < frames.size() / kCh; ++i)
            ASSERT_EQ(left(frames, i), static_cast<std::int16_t>(i + 1));
    }
}

TEST(WavReadTest, MangledFilesNeverCrashTheReader) {
    const Bytes good = wav(Format{1, 2, 22050, 16}, pcm16(ramp(600)), extraChunks());
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        Bytes bad = good;
        const int changes = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < changes; ++i) bad[random() % bad.size()] = static_cast<std::uint8_t>(random());
        if (round % 3 == 0) bad.resize(random() % bad.size());
        AudioFrames frames;
        if (decode_wav_for_mix(bad.data(), bad.size(), frames)) {
            ASSERT_FALSE(frames.empty());
            ASSERT_EQ(frames.size() % kCh, 0u);
        }
    }
}

TEST(WavReadTest, AMissingFileStaysSilent) {
    AudioFrames frames;
    EXPECT_FALSE(read_wav_for_mix("/nonexistent/folder/none.wav", frames));
    EXPECT_TRUE(frames.empty());
}

}  // namespace
