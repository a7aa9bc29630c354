#pragma once
// Sound effects: WAV files from Wavs\ played by their load index. Sound is
// optional: without an audio device, or for a file that cannot be read, a
// sound stays silent and the game goes on without a word.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

struct FwContext;

// Sounds are made only once the game has named its window; the game calls
// this before its first addSound.
void setSoundWindow(FwContext* window);

class SoundEffect {
public:
    SoundEffect() = default;
    ~SoundEffect();
    SoundEffect(const SoundEffect&) = delete;
    SoundEffect& operator=(const SoundEffect&) = delete;

    // Loads "Wavs\" + fileName; loop 1 makes a looping sound, anything else a
    // one-shot. Failure leaves the sound silent.
    void load(std::string_view fileName, int loop);
    // A playing sound is not restarted; a stopped one resumes where it
    // stopped; a one-shot that played to its end starts from the beginning.
    void play();
    // Stops without rewinding.
    void stop();
    void release();
    bool isPlaying() const;

private:
    int voice_ = -1;  // the framework's handle; -1 silent
    int loop_ = 0;
};

class SoundSet {
public:
    static constexpr int kCapacity = 20;

    SoundSet() = default;
    ~SoundSet();
    SoundSet(const SoundSet&) = delete;
    SoundSet& operator=(const SoundSet&) = delete;

    // Ignored when no window has been named or 20 sounds are there.
    void addSound(std::string_view fileName, int loop);
    // Indices outside the set are ignored.
    void playSound(int index);
    void stopSound(int index);
    void stopAllSounds();
    void releaseAllSounds();
    int count() const { return count_; }

private:
    std::array<std::unique_ptr<SoundEffect>, kCapacity> sounds_;
    int count_ = 0;
};
