// The browser's side of framework/audio_wav.h. The browser decodes the WAV
// files (it reads every format there is): the page decodes each one it
// fetches to 44100 Hz and keeps it as 16-bit stereo, which is the mix format,
// so loading a sound is a copy. A file the browser could not decode stays
// silent, like a broken file on the desktop. A page records nothing, so the
// recorder never opens.

#include <algorithm>

#include "framework/audio_wav.h"

extern "C" {
// Sample frames of the decoded sound at a native path, or -1 for none.
int krv_js_sound_frames(const char* nativePath);
void krv_js_sound_copy(const char* nativePath, std::int16_t* out, int frames);
}

bool read_wav_for_mix(const std::string& nativePath, AudioFrames& frames) {
    frames.clear();
    const int available = krv_js_sound_frames(nativePath.c_str());
    if (available <= 0) return false;
    const int kept = std::min(available, kMaxSoundSeconds * AudioMixer::kRate);
    frames.resize(static_cast<std::size_t>(kept) * AudioMixer::kChannels);
    krv_js_sound_copy(nativePath.c_str(), frames.data(), kept);
    return true;
}

// Only files reach the game in a browser; sounds in memory are the desktop
// tools' and tests'.
bool decode_wav_for_mix(const void* /*bytes*/, std::size_t /*size*/, AudioFrames& frames) {
    frames.clear();
    return false;
}

bool WavRecorder::open(const std::string& path) {
    path_ = path;
    dataBytes_ = 0;
    failed_ = true;
    return false;
}

void WavRecorder::write(const std::int16_t* /*frames*/, std::size_t /*frameCount*/) {}

bool WavRecorder::finish() { return !failed_; }
