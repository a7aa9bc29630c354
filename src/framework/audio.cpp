// The framework's sound operations: the one mixer, the device it plays on,
// and the lock around every change while that device may be mixing.

#include "framework/audio.h"

#include <utility>
#include <vector>

#include "framework/audio_mixer.h"
#include "framework/audio_wav.h"
#include "framework/backend.h"
#include "framework/files.h"

namespace {

struct Audio {
    // Never destroyed: a sound released by a global's destructor at exit
    // must still find it.
    AudioMixer& mixer = *new AudioMixer;
    Backend* device = nullptr;  // the backend whose device is open
};

Audio& audio() {
    static Audio& instance = *new Audio;
    return instance;
}

class AudioLock {
public:
    explicit AudioLock(Backend& device) : device_(device) { device_.lockAudio(); }
    ~AudioLock() { device_.unlockAudio(); }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;

private:
    Backend& device_;
};

bool openDevice() {
    Audio& a = audio();
    Backend& backend = fw_backend();
    if (a.device == &backend) return true;
    if (a.device) fw_audio_close();
    if (!backend.openAudio(a.mixer)) return false;
    a.device = &backend;
    return true;
}

}  // namespace

int fw_audio_load(std::string_view gamePath, bool loop) {
    if (!openDevice()) return -1;
    // The file is read and converted before the lock: the device plays on.
    AudioFrames frames;
    if (!read_wav_for_mix(fw_native_path(gamePath), frames)) return -1;
    Audio& a = audio();
    AudioLock lock(*a.device);
    return a.mixer.add(std::move(frames), loop);
}

void fw_audio_play(int voice) {
    Audio& a = audio();
    if (!a.device || voice < 0) return;
    AudioLock lock(*a.device);
    a.mixer.play(voice);
}

void fw_audio_stop(int voice) {
    Audio& a = audio();
    if (!a.device || voice < 0) return;
    AudioLock lock(*a.device);
    a.mixer.stop(voice);
}

bool fw_audio_playing(int voice) {
    Audio& a = audio();
    if (!a.device || voice < 0) return false;
    AudioLock lock(*a.device);
    return a.mixer.playing(voice);
}

void fw_audio_release(int voice) {
    Audio& a = audio();
    if (!a.device || voice < 0) return;
    AudioFrames data;  // freed after the lock is let go
    {
        AudioLock lock(*a.device);
        data = a.mixer.remove(voice);
    }
}

bool fw_audio_open() { return audio().device != nullptr; }

void fw_audio_close() {
    Audio& a = audio();
    if (!a.device) return;
    a.device->closeAudio();
    a.device = nullptr;
    std::vector<AudioFrames> data;
    a.mixer.clear(data);
}
