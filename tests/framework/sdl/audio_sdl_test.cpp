// The SDL audio device: it plays what the mixer mixes, from SDL's own thread,
// and a device that cannot open leaves every sound silent.

#include "framework/sdl/sdl_audio.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "framework/audio.h"
#include "framework/audio_mixer.h"
#include "framework/backend.h"
#include "framework/headless/headless.h"
#include "framework/sdl/sdl_backend.h"
#include "sound/sound_set.h"

namespace {

namespace fs = std::filesystem;

// Picks SDL's audio driver for one test and puts the environment back.
class AudioDriver {
public:
    explicit AudioDriver(const char* name, const char* diskFile = nullptr) {
        saveAndSet("SDL_AUDIODRIVER", name, driver_);
        saveAndSet("SDL_DISKAUDIOFILE", diskFile, disk_);
    }
    ~AudioDriver() {
        restore("SDL_AUDIODRIVER", driver_);
        restore("SDL_DISKAUDIOFILE", disk_);
    }

private:
    struct Saved {
        bool had = false;
        std::string value;
    };
    static void saveAndSet(const char* variable, const char* value, Saved& saved) {
        if (const char* old = std::getenv(variable)) saved = {true, old};
        if (value) {
            ::setenv(variable, value, 1);
        } else {
            ::unsetenv(variable);
        }
    }
    static void restore(const char* variable, const Saved& saved) {
        if (saved.had) {
            ::setenv(variable, saved.value.c_str(), 1);
        } else {
            ::unsetenv(variable);
        }
    }
    Saved driver_;
    Saved disk_;
};

AudioFrames stereoRamp(int frames) {
    AudioFrames out;
    for (int i = 0; i < frames; ++i) {
        out.push_back(static_cast<std::int16_t>(i + 1));
        out.push_back(static_cast<std::int16_t>(-(i + 1)));
    }
    return out;
}

bool waitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 400; ++i) {  // up to 4 s
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

TEST(SdlAudioTest, ADriverThatCannotOpenLeavesTheDeviceClosed) {
    AudioDriver driver("no-such-audio-driver");
    AudioMixer mixer;
    SdlAudio audio;
    EXPECT_FALSE(audio.open(mixer));
    EXPECT_FALSE(audio.isOpen());
    audio.lock();  // harmless when closed
    audio.unlock();
    audio.close();
}

TEST(SdlAudioTest, TheDeviceMixesOnItsOwnThreadUnderTheLock) {
    AudioDriver driver("dummy");
    AudioMixer mixer;
    SdlAudio audio;
    ASSERT_TRUE(audio.open(mixer));
    audio.lock();
    const int id = mixer.add(stereoRamp(4410), false);  // 0.1 s
    mixer.play(id);
    audio.unlock();
    const bool finished = waitUntil([&] {
        audio.lock();
        const bool playing = mixer.playing(id);
        audio.unlock();
        return !playing;
    });
    EXPECT_TRUE(finished);
    audio.lock();
    EXPECT_EQ(mixer.position(id), 4410);
    audio.unlock();
    audio.close();
    EXPECT_FALSE(audio.isOpen());
}

TEST(SdlAudioTest, TheDevicePlaysExactlyWhatTheMixerMixes) {
    const fs::path output =
        fs::temp_directory_path() / ("krv_disk_audio_" + std::to_string(::getpid()) + ".raw");
    AudioDriver driver("disk", output.c_str());
    AudioMixer mixer;
    SdlAudio audio;
    ASSERT_TRUE(audio.open(mixer));
    audio.lock();
    const int id = mixer.add(stereoRamp(3000), false);
    mixer.play(id);
    audio.unlock();
    EXPECT_TRUE(waitUntil([&] {
        audio.lock();
        const bool playing = mixer.playing(id);
        audio.unlock();
        return !playing;
    }));
    audio.close();

    std::ifstream in(output, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    fs::remove(output);
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    // Silence, then the ramp whole and in order, then silence.
    std::size_t start = 0;
    while (start < samples.size() && samples[start] == 0) ++start;
    ASSERT_GE(samples.size(), start + 3000 * 2);
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(samples[start + 2 * i], i + 1) << i;
        ASSERT_EQ(samples[start + 2 * i + 1], -(i + 1)) << i;
    }
    for (std::size_t k = start + 6000; k < samples.size(); ++k) ASSERT_EQ(samples[k], 0) << k;
}

TEST(SdlAudioTest, TheGameOnTheSdlBackendWithoutADeviceIsSilentAndRuns) {
    AudioDriver driver("no-such-audio-driver");
    fw_reset();
    fw_use_sdl_backend();
    FwContext window;
    setSoundWindow(&window);
    {
        SoundSet sounds;
        sounds.addSound("Spacdoor.wav", 0);
        EXPECT_EQ(sounds.count(), 1);
        sounds.playSound(0);
        sounds.stopSound(0);
        EXPECT_FALSE(fw_audio_open());
    }
    setSoundWindow(nullptr);
    fw_use_headless_backend();
    fw_reset();
}

}  // namespace
