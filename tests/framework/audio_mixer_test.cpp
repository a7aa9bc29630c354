// The mixer held to a plain reference mix, and its voices' play semantics.

#include "framework/audio_mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr int kCh = AudioMixer::kChannels;

AudioFrames stereoRamp(int frames, int start = 1) {
    AudioFrames out;
    for (int i = 0; i < frames; ++i) {
        out.push_back(static_cast<std::int16_t>(start + i));
        out.push_back(static_cast<std::int16_t>(-(start + i)));
    }
    return out;
}

std::vector<std::int16_t> mixFrames(AudioMixer& mixer, std::size_t frames) {
    std::vector<std::int16_t> out(frames * kCh, 12345);  // garbage it must overwrite
    mixer.mix(out.data(), frames);
    return out;
}

// The reference: frame by frame, every playing voice adds its sample at its
// position and steps on; a sum beyond 16 bits is clamped.
struct RefVoice {
    int id = 0;
    AudioFrames samples;
    std::size_t position = 0;
    bool loop = false;
    bool playing = false;
};

std::vector<std::int16_t> referenceMix(std::vector<RefVoice>& voices, std::size_t frames) {
    std::vector<std::int16_t> out;
    for (std::size_t f = 0; f < frames; ++f) {
        std::int64_t sum[kCh] = {};
        for (RefVoice& v : voices) {
            if (!v.playing) continue;
            for (int c = 0; c < kCh; ++c) sum[c] += v.samples[v.position * kCh + c];
            ++v.position;
            if (v.position * kCh == v.samples.size()) {
                if (v.loop) {
                    v.position = 0;
                } else {
                    v.playing = false;
                }
            }
        }
        for (int c = 0; c < kCh; ++c)
            out.push_back(static_cast<std::int16_t>(std::clamp<std::int64_t>(sum[c], -32768, 32767)));
    }
    return out;
}

TEST(AudioMixerTest, MatchesThePlainReferenceMixThroughRandomPlayStopAndChunks) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 40; ++round) {
        AudioMixer mixer;
        std::vector<RefVoice> reference;
        const auto addVoice = [&] {
            const int frames = std::uniform_int_distribution<int>(1, 3000)(random);
            AudioFrames samples(static_cast<std::size_t>(frames) * kCh);
            // Loud samples as well as quiet ones, so that sums saturate.
            std::uniform_int_distribution<int> sample(-32768, 32767);
            for (auto& s : samples) s = static_cast<std::int16_t>(sample(random) / (round % 3 + 1));
            const bool loop = random() % 2 == 0;
            RefVoice ref{0, samples, 0, loop, false};
            ref.id = mixer.add(std::move(samples), loop);
            ASSERT_GT(ref.id, 0);
            reference.push_back(std::move(ref));
        };
        for (int i = 0; i < 6; ++i) addVoice();
        for (int step = 0; step < 60; ++step) {
            const int what = static_cast<int>(random() % 10);
            RefVoice& v = reference[random() % reference.size()];
            if (what < 3) {
                mixer.play(v.id);
                if (!v.playing) {
                    if (v.position * kCh == v.samples.size()) v.position = 0;
                    v.playing = true;
                }
            } else if (what < 5) {
                mixer.stop(v.id);
                v.playing = false;
            } else if (what == 5 && reference.size() > 2) {
                const int id = v.id;
                EXPECT_EQ(mixer.remove(id), v.samples);
                std::erase_if(reference, [id](const RefVoice& r) { return r.id == id; });
                addVoice();
            } else {
                const std::size_t frames = std::uniform_int_distribution<std::size_t>(1, 5000)(random);
                ASSERT_EQ(mixFrames(mixer, frames), referenceMix(reference, frames))
                    << "round " << round << " step " << step;
            }
            for (const RefVoice& r : reference) {
                ASSERT_EQ(mixer.playing(r.id), r.playing);
                ASSERT_EQ(mixer.position(r.id), static_cast<long>(r.position));
            }
        }
    }
}

TEST(AudioMixerTest, SumsSaturateInsteadOfWrapping) {
    AudioMixer mixer;
    const int a = mixer.add(AudioFrames(2 * kCh, 30000), false);
    const int b = mixer.add(AudioFrames(2 * kCh, 30000), false);
    const int c = mixer.add(AudioFrames{-30000, -30000, -30000, -30000}, false);
    const int d = mixer.add(AudioFrames{-30000, -30000, -30000, -30000}, false);
    mixer.play(a);
    mixer.play(b);
    EXPECT_EQ(mixFrames(mixer, 2), (std::vector<std::int16_t>{32767, 32767, 32767, 32767}));
    mixer.play(c);
    mixer.play(d);
    EXPECT_EQ(mixFrames(mixer, 2), (std::vector<std::int16_t>{-32768, -32768, -32768, -32768}));
}

TEST(AudioMixerTest, NothingPlayingMixesSilence) {
    AudioMixer mixer;
    mixer.add(stereoRamp(10), true);
    EXPECT_EQ(mixFrames(mixer, 5), std::vector<std::int16_t>(5 * kCh, 0));
}

TEST(AudioMixerTest, PlayingAgainWhilePlayingDoesNotRestart) {
    AudioMixer mixer;
    const int id = mixer.add(stereoRamp(100), false);
    mixer.play(id);
    mixFrames(mixer, 30);
    mixer.play(id);
    EXPECT_EQ(mixer.position(id), 30);
    EXPECT_EQ(mixFrames(mixer, 1)[0], 31);
}

TEST(AudioMixerTest, StopKeepsThePositionAndPlayResumesFromIt) {
    AudioMixer mixer;
    const int id = mixer.add(stereoRamp(100), false);
    mixer.play(id);
    mixFrames(mixer, 40);
    mixer.stop(id);
    EXPECT_FALSE(mixer.playing(id));
    EXPECT_EQ(mixFrames(mixer, 10), std::vector<std::int16_t>(10 * kCh, 0));
    EXPECT_EQ(mixer.position(id), 40);
    mixer.play(id);
    const auto out = mixFrames(mixer, 2);
    EXPECT_EQ(out[0], 41);
    EXPECT_EQ(out[1], -41);
}

TEST(AudioMixerTest, AOneShotThatPlayedToItsEndStartsAgainFromTheBeginning) {
    AudioMixer mixer;
    const int id = mixer.add(stereoRamp(10), false);
    mixer.play(id);
    const auto first = mixFrames(mixer, 15);
    EXPECT_EQ(first[9 * kCh], 10);
    EXPECT_EQ(first[10 * kCh], 0);
    EXPECT_FALSE(mixer.playing(id));
    EXPECT_EQ(mixer.position(id), 10);
    mixer.play(id);
    EXPECT_EQ(mixFrames(mixer, 1)[0], 1);
}

TEST(AudioMixerTest, ALoopingVoiceWrapsAndKeepsPlaying) {
    AudioMixer mixer;
    const int id = mixer.add(stereoRamp(7), true);
    mixer.play(id);
    const auto out = mixFrames(mixer, 3000);  // across the mixer's chunks
    for (int f = 0; f < 3000; ++f) ASSERT_EQ(out[f * kCh], f % 7 + 1) << f;
    EXPECT_TRUE(mixer.playing(id));
}

TEST(AudioMixerTest, IdsAreNeverReusedAndUnknownIdsAreIgnored) {
    AudioMixer mixer;
    const int first = mixer.add(stereoRamp(5), false);
    EXPECT_EQ(mixer.remove(first).size(), 5u * kCh);
    const int second = mixer.add(stereoRamp(5), false);
    EXPECT_NE(first, second);
    mixer.play(first);
    mixer.stop(first);
    EXPECT_FALSE(mixer.playing(first));
    EXPECT_EQ(mixer.position(first), -1);
    EXPECT_TRUE(mixer.remove(first).empty());
    EXPECT_EQ(mixer.voiceCount(), 1);
    mixer.play(-1);
    EXPECT_FALSE(mixer.playing(second));
}

TEST(AudioMixerTest, EmptyDataAndAFullMixerMakeNoVoice) {
    AudioMixer mixer;
    EXPECT_EQ(mixer.add(AudioFrames{}, false), -1);
    EXPECT_EQ(mixer.add(AudioFrames{7}, false), -1);  // half a frame
    for (int i = 0; i < AudioMixer::kCapacity; ++i) EXPECT_GT(mixer.add(stereoRamp(1), false), 0);
    EXPECT_EQ(mixer.add(stereoRamp(1), false), -1);
    std::vector<AudioFrames> freed;
    mixer.clear(freed);
    EXPECT_EQ(freed.size(), static_cast<std::size_t>(AudioMixer::kCapacity));
    EXPECT_EQ(mixer.voiceCount(), 0);
    EXPECT_GT(mixer.add(stereoRamp(1), false), 0);
}

}  // namespace
