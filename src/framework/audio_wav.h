#pragma once
// WAV files in and out. Reading is SDL's: its loader walks the RIFF chunks
// (extra chunks before the data are skipped, not played) and decodes PCM of
// 8 to 32 bits, float, ADPCM, A-law and mu-law; its converter turns any
// channel layout and rate it knows into the mix format. Writing is the
// plain 44-byte PCM header the recorder needs.

#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/audio_mixer.h"

// Sounds longer than this are cut to it (the mix format holds them whole in
// memory: ten minutes are about 100 MB).
constexpr int kMaxSoundSeconds = 600;

// Reads a WAV file at a native path and converts it to the mix format
// (AudioMixer::kRate, 16-bit stereo). False, with `frames` empty, when the
// file is missing, unreadable, not a WAV, in a format SDL cannot convert, or
// holds no whole sample frame; never shows anything.
bool read_wav_for_mix(const std::string& nativePath, AudioFrames& frames);

// The same from bytes in memory (a file already read, or a test's own).
bool decode_wav_for_mix(const void* bytes, std::size_t size, AudioFrames& frames);

// The mixed output written as a 16-bit stereo PCM WAV file, one block of
// frames at a time; the header's sizes are filled in by finish().
class WavRecorder {
public:
    WavRecorder() = default;
    ~WavRecorder() { finish(); }
    WavRecorder(const WavRecorder&) = delete;
    WavRecorder& operator=(const WavRecorder&) = delete;

    // Creates the file (a native path); false when it cannot be created.
    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    void write(const std::int16_t* frames, std::size_t frameCount);
    // Writes the sizes and closes; false when any write failed. Safe to call
    // again: a closed recorder reports the result of its last finish.
    bool finish();
    const std::string& path() const { return path_; }

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    std::uint64_t dataBytes_ = 0;
    bool failed_ = false;
};
