#pragma once
// The sound mixer: every sound the game has made is a voice holding its whole
// sample data in the mix format, a position, a loop flag and a playing flag;
// mix() sums the playing voices into the output. Portable and unlocked: the
// framework's audio layer (audio.h) guards every call with the backend's
// audio lock, because the SDL device mixes from its own thread.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Interleaved stereo frames of signed 16-bit samples, left first.
using AudioFrames = std::vector<std::int16_t>;

class AudioMixer {
public:
    // The one output format; every sound is converted to it when loaded.
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kBytesPerFrame = kChannels * 2;
    // The game's SoundSet holds 20 sounds and the intro one more.
    static constexpr int kCapacity = 32;

    // Adds a stopped voice at position 0; returns its id (never reused in the
    // process, so a stale id finds nothing), or -1 when the data is empty
    // or every voice is taken. The data is moved in.
    int add(AudioFrames&& frames, bool loop);
    // Takes the voice out and hands its data back, so that the caller can
    // free it outside the audio lock. An unknown id gives empty data.
    AudioFrames remove(int id);
    // Moves every voice's data into `out` and empties the mixer.
    void clear(std::vector<AudioFrames>& out);

    // A playing voice goes on; a stopped one resumes from its position; a
    // one-shot voice that played to its end starts again from the beginning.
    void play(int id);
    // Stops without rewinding.
    void stop(int id);
    bool playing(int id) const;
    // In frames from the start of the sound; -1 for an unknown id.
    long position(int id) const;
    int voiceCount() const { return count_; }

    // Writes `frames` frames of the sum of the playing voices to `out`
    // (kChannels samples each), saturated to 16 bits, and moves the voices on:
    // a looping voice wraps to its start, a one-shot stops at its end.
    void mix(std::int16_t* out, std::size_t frames);

private:
    struct Voice {
        int id = 0;
        AudioFrames samples;
        std::size_t frames = 0;    // samples.size() / kChannels
        std::size_t position = 0;  // next frame to play, 0..frames
        bool loop = false;
        bool playing = false;
    };
    static constexpr std::size_t kChunk = 1024;  // frames summed at a time

    Voice* find(int id);
    const Voice* find(int id) const;
    void mixChunk(std::int16_t* out, std::size_t frames);

    std::array<Voice, kCapacity> voices_{};
    int count_ = 0;
    int nextId_ = 1;
    std::array<std::int32_t, kChunk * kChannels> sum_{};
};
