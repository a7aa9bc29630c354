// WAV reading through SDL's loader and audio stream converter, and the plain
// PCM writer of the headless recording.

#include "framework/audio_wav.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "framework/little_endian.h"

namespace {

// Frames handed to the converter at a time, so a long sound never needs more
// than its converted self and a few times this much besides. SDL 2's stream
// rounds each piece's resampled length on its own, so pieces are large: a
// sound of less than about 20 seconds goes in whole, and a longer one drifts
// by about a frame a piece. Every piece is a whole number of kPieceAlign
// frames: SDL 2.26's vectorised channel converters (mono to stereo among
// them) get the last frames of a piece that is not wrong.
constexpr std::size_t kPieceAlign = 16;
constexpr std::size_t kPutFrames = std::size_t{1} << 20;

// Rates above this are no sound's (the silence padding below grows with it).
constexpr int kMaxRate = 768000;

struct WavData {
    SDL_AudioSpec spec{};
    Uint8* bytes = nullptr;
    Uint32 length = 0;
    ~WavData() {
        if (bytes) SDL_FreeWAV(bytes);
    }
};

bool put(SDL_AudioStream* stream, const Uint8* bytes, std::size_t size, std::size_t frameBytes,
         AudioFrames& frames) {
    std::array<std::int16_t, 8192> drained;
    while (size > 0) {
        const std::size_t piece = std::min(size, kPutFrames * frameBytes);
        if (SDL_AudioStreamPut(stream, bytes, static_cast<int>(piece)) != 0) return false;
        bytes += piece;
        size -= piece;
        int got = 0;
        while ((got = SDL_AudioStreamGet(stream, drained.data(), sizeof drained)) > 0)
            frames.insert(frames.end(), drained.begin(), drained.begin() + got / 2);
        if (got < 0) return false;
    }
    return true;
}

// SDL_LoadWAV_RW has taken `source` (and closes it) by the time this returns.
bool convert(SDL_RWops* source, AudioFrames& frames) {
    frames.clear();
    if (!source) return false;
    WavData wav;
    if (!SDL_LoadWAV_RW(source, 1, &wav.spec, &wav.bytes, &wav.length)) return false;
    const int rate = wav.spec.freq;
    const int frameBytes = static_cast<int>(SDL_AUDIO_BITSIZE(wav.spec.format) / 8) * wav.spec.channels;
    if (rate <= 0 || rate > kMaxRate || frameBytes <= 0) return false;
    // Only whole frames, and no more than the longest sound kept.
    std::uint64_t inFrames = wav.length / static_cast<std::uint64_t>(frameBytes);
    inFrames = std::min<std::uint64_t>(inFrames, std::uint64_t{kMaxSoundSeconds} * rate);
    if (inFrames == 0) return false;
    const std::uint64_t outFrames =
        (inFrames * AudioMixer::kRate + static_cast<std::uint64_t>(rate) / 2) / rate;
    if (outFrames == 0) return false;

    SDL_AudioStream* stream =
        SDL_NewAudioStream(wav.spec.format, wav.spec.channels, rate, AUDIO_S16SYS,
                           AudioMixer::kChannels, AudioMixer::kRate);
    if (!stream) return false;  // a layout or format SDL cannot convert
    frames.reserve(static_cast<std::size_t>(outFrames + 1) * AudioMixer::kChannels);
    // SDL 2's stream keeps back the end of the sound at a rate change even
    // when flushed (512 input frames or 513 output frames, whichever is
    // longer): twice that in silence after the sound pushes it out, and the
    // result is cut to the sound's own length. The sound's last frames go in
    // with the silence, so that every piece is whole kPieceAlign frames.
    const std::size_t bytesPerFrame = static_cast<std::size_t>(frameBytes);
    const std::size_t headFrames = static_cast<std::size_t>(inFrames) / kPieceAlign * kPieceAlign;
    const std::size_t restFrames = static_cast<std::size_t>(inFrames) - headFrames;
    std::size_t tailFrames = restFrames + 1024 + static_cast<std::size_t>(rate) / 32;
    tailFrames = (tailFrames + kPieceAlign - 1) / kPieceAlign * kPieceAlign;
    std::vector<Uint8> tail(tailFrames * bytesPerFrame, SDL_AUDIO_ISSIGNED(wav.spec.format) ? 0 : 0x80);
    std::memcpy(tail.data(), wav.bytes + headFrames * bytesPerFrame, restFrames * bytesPerFrame);
    bool ok = put(stream, wav.bytes, headFrames * bytesPerFrame, bytesPerFrame, frames) &&
              put(stream, tail.data(), tail.size(), bytesPerFrame, frames) &&
              SDL_AudioStreamFlush(stream) == 0;
    if (ok) {
        std::array<std::int16_t, 8192> drained;
        int got = 0;
        while ((got = SDL_AudioStreamGet(stream, drained.data(), sizeof drained)) > 0)
            frames.insert(frames.end(), drained.begin(), drained.begin() + got / 2);
        ok = got == 0;
    }
    SDL_FreeAudioStream(stream);
    const std::size_t wanted = static_cast<std::size_t>(outFrames) * AudioMixer::kChannels;
    if (!ok) {
        frames.clear();
        frames.shrink_to_fit();
        return false;
    }
    frames.resize(wanted, 0);
    return true;
}

}  // namespace

bool read_wav_for_mix(const std::string& nativePath, AudioFrames& frames) {
    frames.clear();
    return convert(SDL_RWFromFile(nativePath.c_str(), "rb"), frames);
}

bool decode_wav_for_mix(const void* bytes, std::size_t size, AudioFrames& frames) {
    frames.clear();
    if (!bytes || size == 0 || size > static_cast<std::size_t>(INT32_MAX)) return false;
    return convert(SDL_RWFromConstMem(bytes, static_cast<int>(size)), frames);
}

// ---- WavRecorder --------------------------------------------------------------

namespace {

// RIFF sizes are 32-bit: a recording stops growing just short of 4 GB
// (about six and a half hours).
constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFull - 36 - AudioMixer::kBytesPerFrame;

std::array<std::uint8_t, 44> wavHeader(std::uint32_t dataBytes) {
    std::array<std::uint8_t, 44> h{};
    std::memcpy(&h[0], "RIFF", 4);
    put_le(&h[4], 36 + dataBytes, 4);
    std::memcpy(&h[8], "WAVE", 4);
    std::memcpy(&h[12], "fmt ", 4);
    put_le(&h[16], 16, 4);
    put_le(&h[20], 1, 2);  // PCM
    put_le(&h[22], AudioMixer::kChannels, 2);
    put_le(&h[24], AudioMixer::kRate, 4);
    put_le(&h[28], AudioMixer::kRate * AudioMixer::kBytesPerFrame, 4);
    put_le(&h[32], AudioMixer::kBytesPerFrame, 2);
    put_le(&h[34], 16, 2);
    std::memcpy(&h[36], "data", 4);
    put_le(&h[40], dataBytes, 4);
    return h;
}

}  // namespace

bool WavRecorder::open(const std::string& path) {
    finish();
    path_ = path;
    dataBytes_ = 0;
    failed_ = false;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return false;
    const auto header = wavHeader(0);
    if (std::fwrite(header.data(), 1, header.size(), file_) != header.size()) failed_ = true;
    return true;
}

void WavRecorder::write(const std::int16_t* frames, std::size_t frameCount) {
    if (!file_ || failed_) return;
    std::uint64_t bytes = std::uint64_t{frameCount} * AudioMixer::kBytesPerFrame;
    if (dataBytes_ + bytes > kMaxDataBytes) {
        frameCount = static_cast<std::size_t>((kMaxDataBytes - dataBytes_) / AudioMixer::kBytesPerFrame);
        bytes = std::uint64_t{frameCount} * AudioMixer::kBytesPerFrame;
    }
    // Samples are written little-endian whatever the machine's order.
    std::array<std::uint8_t, 4096> buffer;
    const std::size_t samples = frameCount * AudioMixer::kChannels;
    for (std::size_t done = 0; done < samples;) {
        const std::size_t n = std::min(samples - done, buffer.size() / 2);
        for (std::size_t i = 0; i < n; ++i)
            put_le(&buffer[2 * i], static_cast<std::uint16_t>(frames[done + i]), 2);
        if (std::fwrite(buffer.data(), 2, n, file_) != n) {
            failed_ = true;
            return;
        }
        done += n;
    }
    dataBytes_ += bytes;
}

bool WavRecorder::finish() {
    if (!file_) return !failed_;
    const auto header = wavHeader(static_cast<std::uint32_t>(dataBytes_));
    if (std::fseek(file_, 0, SEEK_SET) != 0 ||
        std::fwrite(header.data(), 1, header.size(), file_) != header.size()) {
        failed_ = true;
    }
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}
