// The game's own sounds heard through the headless sink: what the keys start
// sounds from the first frame of the iteration they are pressed in, as the
// recording of `krvtool run --audio-out` has it.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "framework/audio_wav.h"
#include "support/headless_game.h"

namespace {

constexpr int kBlock = HeadlessBackend::kAudioFramesPerIteration;
constexpr int kCh = AudioMixer::kChannels;

// Samples of iterations [first, last) of the run.
std::vector<std::int16_t> blocks(const std::vector<std::int16_t>& audio, int first, int last) {
    return {audio.begin() + first * kBlock * kCh, audio.begin() + last * kBlock * kCh};
}

// Samples of the sound from frame `from`, `iterations` blocks long.
std::vector<std::int16_t> sound(const AudioFrames& frames, int from, int iterations) {
    return {frames.begin() + from * kCh, frames.begin() + (from + iterations * kBlock) * kCh};
}

TEST(GameSoundTest, MStartsTheDoorSoundInItsIterationNStopsItAndMResumesIt) {
    AudioFrames door;
    ASSERT_TRUE(read_wav_for_mix(
        (std::filesystem::path(plainGameFolder()) / "Wavs" / "Spacdoor.wav").string(), door));
    ASSERT_GT(door.size(), static_cast<std::size_t>(12 * kBlock * kCh)) << "the door sound is short";

    HeadlessGame game;
    game.backend().keepAudio(true);
    game.press(10, scan::kM);  // held in iteration 10 only
    game.press(15, scan::kN);
    game.press(25, scan::kM);
    game.run(30);

    const auto& heard = game.backend().keptAudio();
    ASSERT_EQ(heard.size(), static_cast<std::size_t>(30 * kBlock * kCh));
    const std::vector<std::int16_t> silence(10 * kBlock * kCh, 0);
    EXPECT_EQ(blocks(heard, 0, 10), silence);
    EXPECT_EQ(blocks(heard, 10, 15), sound(door, 0, 5)) << "starts with its iteration";
    EXPECT_EQ(blocks(heard, 15, 25), silence) << "N stops it";
    EXPECT_EQ(blocks(heard, 25, 30), sound(door, 5 * kBlock, 5)) << "M resumes where it stopped";
}

}  // namespace
