#pragma once
// The SDL audio device behind the SDL backend: opened for the mix format
// (SDL converts to whatever the hardware wants), with a callback that mixes
// on SDL's audio thread. The game's thread holds the device's lock only
// while it flips a voice's flag or position.

#include <cstdint>

class AudioMixer;

class SdlAudio {
public:
    SdlAudio() = default;
    ~SdlAudio() { close(); }
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // False, with nothing shown, when SDL has no audio or no device opens.
    bool open(AudioMixer& mixer);
    void close();
    bool isOpen() const { return device_ != 0; }
    void lock();
    void unlock();

private:
    std::uint32_t device_ = 0;
};
