// Sound effects over the framework's audio (framework/audio.h): each sound
// is one voice of the framework's mixer, made from its WAV file at load.

#include "sound/sound_set.h"

#include <string>

#include "framework/audio.h"

namespace {

// Process-wide: the window named by the game; no sound is made before it.
FwContext* soundWindow = nullptr;

// "Wavs\" and the file name together, as the original's path buffer held.
constexpr std::size_t kMaxPath = 255;

}  // namespace

void setSoundWindow(FwContext* window) { soundWindow = window; }

SoundEffect::~SoundEffect() { release(); }

void SoundEffect::load(std::string_view fileName, int loop) {
    release();
    loop_ = loop == 1 ? 1 : 0;
    if (!soundWindow) return;
    std::string path = "Wavs\\";
    path += fileName;
    if (path.size() > kMaxPath) return;
    voice_ = fw_audio_load(path, loop_ == 1);
}

void SoundEffect::play() { fw_audio_play(voice_); }

void SoundEffect::stop() { fw_audio_stop(voice_); }

void SoundEffect::release() {
    fw_audio_release(voice_);
    voice_ = -1;
}

bool SoundEffect::isPlaying() const { return fw_audio_playing(voice_); }

SoundSet::~SoundSet() { releaseAllSounds(); }

void SoundSet::addSound(std::string_view fileName, int loop) {
    if (!soundWindow || count_ >= kCapacity) return;
    // A sound that cannot play keeps its index all the same: the game and
    // the logic file count sounds in load order.
    sounds_[count_] = std::make_unique<SoundEffect>();
    sounds_[count_]->load(fileName, loop);
    ++count_;
}

void SoundSet::playSound(int index) {
    if (index >= 0 && index < count_) sounds_[index]->play();
}

void SoundSet::stopSound(int index) {
    if (index >= 0 && index < count_) sounds_[index]->stop();
}

void SoundSet::stopAllSounds() {
    for (int i = 0; i < count_; ++i) sounds_[i]->stop();
}

void SoundSet::releaseAllSounds() {
    stopAllSounds();
    for (int i = 0; i < count_; ++i) sounds_[i].reset();
    count_ = 0;
}
