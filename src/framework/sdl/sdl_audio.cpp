#include "framework/sdl/sdl_audio.h"

#include <SDL.h>

#include "framework/audio_mixer.h"

namespace {

// About 23 ms a callback: short enough for a sound to follow its key press,
// long enough not to run dry on a busy machine.
constexpr Uint16 kCallbackFrames = 1024;

// SDL holds the device's lock while this runs.
void SDLCALL mixCallback(void* userdata, Uint8* stream, int length) {
    auto* mixer = static_cast<AudioMixer*>(userdata);
    mixer->mix(reinterpret_cast<std::int16_t*>(stream),
               static_cast<std::size_t>(length) / AudioMixer::kBytesPerFrame);
}

}  // namespace

bool SdlAudio::open(AudioMixer& mixer) {
    if (device_ != 0) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = AudioMixer::kRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = AudioMixer::kChannels;
    wanted.samples = kCallbackFrames;
    wanted.callback = mixCallback;
    wanted.userdata = &mixer;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts the mix format to the device's own.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlAudio::close() {
    if (device_ == 0) return;
    // Waits for a callback under way; none runs afterwards.
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudio::lock() {
    if (device_ != 0) SDL_LockAudioDevice(device_);
}

void SdlAudio::unlock() {
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
}
