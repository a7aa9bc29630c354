#include "framework/audio_mixer.h"

#include <algorithm>
#include <limits>
#include <utility>

AudioMixer::Voice* AudioMixer::find(int id) {
    for (int i = 0; i < count_; ++i) {
        if (voices_[i].id == id) return &voices_[i];
    }
    return nullptr;
}

const AudioMixer::Voice* AudioMixer::find(int id) const {
    return const_cast<AudioMixer*>(this)->find(id);
}

int AudioMixer::add(AudioFrames&& frames, bool loop) {
    const std::size_t frameCount = frames.size() / kChannels;
    if (frameCount == 0 || count_ >= kCapacity) return -1;
    // Ids stay positive; after two billion sounds they would wrap, which no
    // run comes near.
    if (nextId_ == std::numeric_limits<int>::max()) nextId_ = 1;
    Voice& voice = voices_[count_++];
    voice.id = nextId_++;
    voice.samples = std::move(frames);
    voice.samples.resize(frameCount * kChannels);  // a stray half frame dropped
    voice.frames = frameCount;
    voice.position = 0;
    voice.loop = loop;
    voice.playing = false;
    return voice.id;
}

AudioFrames AudioMixer::remove(int id) {
    Voice* voice = find(id);
    if (!voice) return {};
    AudioFrames data = std::move(voice->samples);
    // The last voice fills the gap; the order of voices does not matter to a sum.
    Voice& last = voices_[count_ - 1];
    if (voice != &last) *voice = std::move(last);
    last = Voice{};
    --count_;
    return data;
}

void AudioMixer::clear(std::vector<AudioFrames>& out) {
    for (int i = 0; i < count_; ++i) {
        out.push_back(std::move(voices_[i].samples));
        voices_[i] = Voice{};
    }
    count_ = 0;
}

void AudioMixer::play(int id) {
    Voice* voice = find(id);
    if (!voice || voice->playing) return;
    if (voice->position >= voice->frames) voice->position = 0;
    voice->playing = true;
}

void AudioMixer::stop(int id) {
    if (Voice* voice = find(id)) voice->playing = false;
}

bool AudioMixer::playing(int id) const {
    const Voice* voice = find(id);
    return voice && voice->playing;
}

long AudioMixer::position(int id) const {
    const Voice* voice = find(id);
    return voice ? static_cast<long>(voice->position) : -1;
}

void AudioMixer::mix(std::int16_t* out, std::size_t frames) {
    while (frames > 0) {
        const std::size_t chunk = std::min(frames, kChunk);
        mixChunk(out, chunk);
        out += chunk * kChannels;
        frames -= chunk;
    }
}

void AudioMixer::mixChunk(std::int16_t* out, std::size_t frames) {
    std::fill_n(sum_.begin(), frames * kChannels, 0);
    for (int v = 0; v < count_; ++v) {
        Voice& voice = voices_[v];
        std::size_t done = 0;
        while (voice.playing && done < frames) {
            const std::size_t run = std::min(frames - done, voice.frames - voice.position);
            const std::int16_t* from = voice.samples.data() + voice.position * kChannels;
            std::int32_t* to = sum_.data() + done * kChannels;
            for (std::size_t i = 0; i < run * kChannels; ++i) to[i] += from[i];
            done += run;
            voice.position += run;
            if (voice.position == voice.frames) {
                if (voice.loop) {
                    voice.position = 0;
                } else {
                    voice.playing = false;  // stays at its end until played again
                }
            }
        }
    }
    constexpr std::int32_t kLow = std::numeric_limits<std::int16_t>::min();
    constexpr std::int32_t kHigh = std::numeric_limits<std::int16_t>::max();
    for (std::size_t i = 0; i < frames * kChannels; ++i)
        out[i] = static_cast<std::int16_t>(std::clamp(sum_[i], kLow, kHigh));
}
