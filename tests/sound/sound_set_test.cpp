// The sound set heard through the headless backend's audio sink: each loop
// iteration mixes 1470 frames (1/30 s), and a ramp sound (sample k is k + 1)
// shows in every output frame which frame of the sound is playing.

#include "sound/sound.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "framework/audio.h"
#include "framework/audio_wav.h"
#include "framework/backend.h"
#include "framework/files.h"
#include "framework/headless/headless.h"
#include "support/wav_bytes.h"

namespace {

namespace fs = std::filesystem;
using namespace wavbytes;
constexpr int kBlock = HeadlessBackend::kAudioFramesPerIteration;

class SoundSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("krv_sound_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "Wavs");
        fw_reset();
        backend_ = std::make_unique<HeadlessBackend>();
        backend_->keepAudio(true);
        fw_use_backend(backend_.get());
        fw_set_data_root(root_.string());
        window_ = fw_init("sound test");
        ASSERT_NE(window_, nullptr);
        setSoundWindow(window_);
    }
    void TearDown() override {
        setSoundWindow(nullptr);
        fw_use_headless_backend();
        fw_reset();
        fw_set_data_root("");
        backend_.reset();
        fs::remove_all(root_);
    }

    void file(const std::string& name, const Bytes& bytes) { writeFile(root_ / "Wavs" / name, bytes); }
    // Ends loop iterations as the main loop would: each mixes one block.
    void iterate(int count = 1) {
        for (int i = 0; i < count; ++i) backend_->endIteration();
    }
    // Left sample of output frame k (the ramp sounds are mono: right equals left).
    int out(std::size_t frame) const {
        const auto& audio = backend_->keptAudio();
        return frame * 2 < audio.size() ? audio[frame * 2] : -99999;
    }
    std::size_t outFrames() const { return backend_->keptAudio().size() / 2; }
    // Expects output frames [from, to) to be the ramp starting at `value`.
    void expectRamp(std::size_t from, std::size_t to, int value) {
        for (std::size_t k = from; k < to; ++k, ++value) ASSERT_EQ(out(k), value) << "frame " << k;
    }
    void expectSilence(std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k) ASSERT_EQ(out(k), 0) << "frame " << k;
    }

    fs::path root_;
    std::unique_ptr<HeadlessBackend> backend_;
    FwContext* window_ = nullptr;
};

TEST_F(SoundSetTest, APlayingSoundIsNotRestartedByASecondPlay) {
    file("Argh.wav", monoRamp(4000));
    SoundSet sounds;
    sounds.addSound("Argh.wav", 0);
    sounds.playSound(0);
    iterate();
    sounds.playSound(0);  // still playing: nothing happens
    iterate(2);
    ASSERT_EQ(outFrames(), 3u * kBlock);
    expectRamp(0, 4000, 1);
    expectSilence(4000, 3 * kBlock);
}

TEST_F(SoundSetTest, StopKeepsThePositionAndTheNextPlayResumesFromIt) {
    file("Spacdoor.wav", monoRamp(5000));
    SoundSet sounds;
    sounds.addSound("Spacdoor.wav", 0);
    sounds.playSound(0);
    iterate();
    sounds.stopSound(0);
    iterate();
    sounds.playSound(0);
    iterate(3);
    expectRamp(0, kBlock, 1);
    expectSilence(kBlock, 2 * kBlock);
    expectRamp(2 * kBlock, 2 * kBlock + (5000 - kBlock), kBlock + 1);
    expectSilence(2 * kBlock + (5000 - kBlock), 5 * kBlock);
}

TEST_F(SoundSetTest, AOneShotThatPlayedToItsEndStartsAgainFromTheBeginning) {
    file("Superb.wav", monoRamp(1000));
    SoundSet sounds;
    sounds.addSound("Superb.wav", 0);
    sounds.playSound(0);
    iterate();
    sounds.playSound(0);
    iterate();
    expectRamp(0, 1000, 1);
    expectSilence(1000, kBlock);
    expectRamp(kBlock, kBlock + 1000, 1);
}

TEST_F(SoundSetTest, ALoopingSoundLoopsUntilStoppedAndResumesWhereItStopped) {
    file("Cow.wav", monoRamp(1000));
    SoundSet sounds;
    sounds.addSound("Cow.wav", 1);
    sounds.playSound(0);
    iterate(3);
    for (std::size_t k = 0; k < 3 * kBlock; ++k) ASSERT_EQ(out(k), static_cast<int>(k % 1000) + 1) << k;
    sounds.stopSound(0);
    iterate();
    expectSilence(3 * kBlock, 4 * kBlock);
    sounds.playSound(0);
    iterate();
    EXPECT_EQ(out(4 * kBlock), static_cast<int>((3 * kBlock) % 1000) + 1);
}

TEST_F(SoundSetTest, OnlyLoopOneLoops) {
    file("Cow.wav", monoRamp(100));
    SoundSet sounds;
    sounds.addSound("Cow.wav", 2);
    sounds.playSound(0);
    iterate();
    expectRamp(0, 100, 1);
    expectSilence(100, kBlock);
}

TEST_F(SoundSetTest, TheTwentyFirstSoundAndIndicesOutsideTheSetAreIgnored) {
    for (int i = 0; i < 21; ++i)
        file("s" + std::to_string(i) + ".wav", monoConstant(100, static_cast<std::int16_t>(100 + i)));
    SoundSet sounds;
    for (int i = 0; i < 21; ++i) sounds.addSound("s" + std::to_string(i) + ".wav", 0);
    EXPECT_EQ(sounds.count(), SoundSet::kCapacity);
    sounds.playSound(20);
    sounds.playSound(21);
    sounds.playSound(-1);
    sounds.stopSound(20);
    sounds.stopSound(-5);
    iterate();
    expectSilence(0, kBlock);
    sounds.playSound(19);
    iterate();
    EXPECT_EQ(out(kBlock), 119);
}

TEST_F(SoundSetTest, BrokenFilesStaySilentKeepTheirIndexAndHarmNoOtherSound) {
    file("good1.wav", monoConstant(3000, 1000));
    file("garbage.wav", Bytes(500, 0x5A));
    const Bytes whole = monoRamp(100);
    file("cut.wav", Bytes(whole.begin(), whole.begin() + 30));
    file("empty.wav", {});
    file("nodata.wav", wav(Format{}, {}));
    file("mp3.wav", wav(Format{0x55, 2, 44100, 16}, Bytes(4000, 3)));
    file("extra.wav", wav(Format{}, pcm16(std::vector<std::int16_t>(3000, 200)), extraChunks()));
    file("good2.wav", monoConstant(3000, 3000));
    const char* const names[] = {"good1.wav", "garbage.wav", "cut.wav",   "missing.wav",
                                 "empty.wav", "nodata.wav",  "mp3.wav",   "extra.wav",
                                 "good2.wav"};
    SoundSet sounds;
    for (const char* name : names) sounds.addSound(name, 0);
    ASSERT_EQ(sounds.count(), 9);
    for (int i : {1, 2, 3, 4, 5, 6}) sounds.playSound(i);
    iterate();
    expectSilence(0, kBlock);
    for (int i = 0; i < 9; ++i) sounds.playSound(i);
    iterate();
    EXPECT_EQ(out(kBlock), 1000 + 200 + 3000);
    EXPECT_EQ(out(2 * kBlock - 1), 1000 + 200 + 3000);
}

TEST_F(SoundSetTest, WithoutAnAudioDeviceEverySoundIsSilentAndTheGameGoesOn) {
    backend_->setAudioDevice(false);
    file("Spacdoor.wav", monoRamp(3000));
    SoundSet sounds;
    sounds.addSound("Spacdoor.wav", 0);
    sounds.addSound("Spacdoor.wav", 1);
    EXPECT_EQ(sounds.count(), 2);
    sounds.playSound(0);
    sounds.playSound(1);
    iterate(2);
    EXPECT_FALSE(backend_->audioOpen());
    expectSilence(0, 2 * kBlock);
    sounds.stopAllSounds();
    sounds.releaseAllSounds();
    EXPECT_EQ(sounds.count(), 0);
}

TEST_F(SoundSetTest, ADeviceThatCameLateServesTheSoundsMadeAfterIt) {
    // Each sound made tries the device again, as the Part's set-up does.
    file("a.wav", monoConstant(100, 10));
    file("b.wav", monoConstant(100, 20));
    backend_->setAudioDevice(false);
    SoundSet sounds;
    sounds.addSound("a.wav", 0);
    backend_->setAudioDevice(true);
    sounds.addSound("b.wav", 0);
    sounds.playSound(0);
    sounds.playSound(1);
    iterate();
    EXPECT_EQ(out(0), 20);
}

TEST_F(SoundSetTest, WithoutAWindowNoSoundIsMade) {
    setSoundWindow(nullptr);
    file("Spacdoor.wav", monoRamp(3000));
    SoundSet sounds;
    sounds.addSound("Spacdoor.wav", 0);
    EXPECT_EQ(sounds.count(), 0);
    SoundEffect intro;
    intro.load("Spacdoor.wav", 0);
    intro.play();
    EXPECT_FALSE(intro.isPlaying());
    iterate();
    expectSilence(0, kBlock);
}

TEST_F(SoundSetTest, ASingleEffectPlaysStopsAndReleasesOnItsOwn) {
    file("intro.wav", monoRamp(5000));
    SoundEffect intro;
    intro.load("intro.wav", 0);
    intro.play();
    EXPECT_TRUE(intro.isPlaying());
    iterate();
    intro.stop();
    EXPECT_FALSE(intro.isPlaying());
    intro.release();
    intro.play();
    iterate();
    expectRamp(0, kBlock, 1);
    expectSilence(kBlock, 2 * kBlock);
}

TEST_F(SoundSetTest, ReleaseAllStopsEverySoundAndEmptiesTheSet) {
    file("Cow.wav", monoRamp(100));
    SoundSet sounds;
    sounds.addSound("Cow.wav", 1);
    sounds.addSound("Cow.wav", 1);
    sounds.playSound(0);
    sounds.playSound(1);
    iterate();
    EXPECT_EQ(out(0), 2);
    sounds.releaseAllSounds();
    EXPECT_EQ(sounds.count(), 0);
    sounds.playSound(0);
    iterate();
    expectSilence(kBlock, 2 * kBlock);
}

TEST_F(SoundSetTest, AResetBetweenRunsSilencesOldSoundsAndNewOnesPlay) {
    file("Cow.wav", monoRamp(100));
    auto old = std::make_unique<SoundSet>();
    old->addSound("Cow.wav", 1);
    old->playSound(0);
    iterate();
    // The next run: the framework starts afresh while the old set lives on.
    fw_reset();
    fw_use_backend(backend_.get());
    EXPECT_FALSE(fw_audio_open());
    old->playSound(0);
    SoundSet fresh;
    fresh.addSound("Cow.wav", 0);
    old->playSound(0);
    old.reset();  // releasing stale sounds touches nothing of the new run
    fresh.playSound(0);
    iterate();
    expectRamp(kBlock, kBlock + 100, 1);
    expectSilence(kBlock + 100, 2 * kBlock);
}

TEST_F(SoundSetTest, LoudSoundsTogetherSaturate) {
    file("a.wav", monoConstant(100, 30000));
    file("b.wav", monoConstant(100, 30000));
    SoundSet sounds;
    sounds.addSound("a.wav", 0);
    sounds.addSound("b.wav", 0);
    sounds.playSound(0);
    sounds.playSound(1);
    iterate();
    EXPECT_EQ(out(0), 32767);
}

TEST_F(SoundSetTest, TheMainLoopMixesOneBlockPerIterationAndClosesTheDeviceAtItsEnd) {
    file("Spacdoor.wav", monoRamp(2000));
    static SoundSet* sounds = nullptr;
    SoundSet set;
    set.addSound("Spacdoor.wav", 0);
    sounds = &set;
    fw_set_update_callback([] {
        static int iteration = 0;
        if (++iteration == 5) sounds->playSound(0);  // in loop iteration 4
    });
    backend_->setIterationLimit(8);
    fw_main_loop();
    EXPECT_EQ(outFrames(), 8u * kBlock);
    expectSilence(0, 4 * kBlock);
    expectRamp(4 * kBlock, 4 * kBlock + 2000, 1);
    expectSilence(4 * kBlock + 2000, 8 * kBlock);
    EXPECT_FALSE(fw_audio_open());
    EXPECT_FALSE(backend_->audioOpen());
    sounds = nullptr;
}

TEST_F(SoundSetTest, TheRecordingIsAWavFileOfEveryIteration) {
    file("Argh.wav", monoRamp(2000));
    const fs::path recording = root_ / "out.wav";
    ASSERT_TRUE(backend_->recordAudio(recording.string()));
    SoundSet sounds;
    sounds.addSound("Argh.wav", 0);
    iterate();
    sounds.playSound(0);
    iterate(2);
    ASSERT_TRUE(backend_->finishAudio());

    std::ifstream in(recording, std::ios::binary);
    const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::uint32_t dataBytes = 3 * kBlock * 4;
    ASSERT_EQ(bytes.size(), 44 + dataBytes);
    // The header as any tool reads it: PCM, 2 channels, 44100 Hz, 16 bits.
    Bytes header = wav(Format{1, 2, 44100, 16}, Bytes(dataBytes));
    header.resize(44);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 44), header);
    // And what it holds is what the sink heard, and SDL reads it back so.
    AudioFrames back;
    ASSERT_TRUE(decode_wav_for_mix(bytes.data(), bytes.size(), back));
    EXPECT_EQ(back, backend_->keptAudio());
    EXPECT_EQ(back[2 * kBlock], 1);
}

TEST_F(SoundSetTest, ARecordingThatCannotBeCreatedSaysSo) {
    EXPECT_FALSE(backend_->recordAudio((root_ / "no" / "such" / "folder.wav").string()));
}

}  // namespace
