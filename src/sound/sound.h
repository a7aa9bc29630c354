#pragma once
// Sound: short WAV effects from Wavs\, played by their load index.
//
// - sound_set.h      SoundEffect (one sound: load, play, stop, release) and
//                    SoundSet (the game's 20 sounds by index); setSoundWindow.
// - game_sounds.h    the game's own sound files and the numbers it plays
//                    them by (kSoundFiles, kPassageSound, kBumpSound...).
//
// Underneath, in the framework (the only code that speaks to SDL):
// - framework/audio.h        fw_audio_*: voices made from WAV files, played
//                            on the backend's device; no device, no sound.
// - framework/audio_mixer.h  AudioMixer: voices with position, loop and
//                            playing flags, summed into 44100 Hz 16-bit stereo.
// - framework/audio_wav.h    SDL's WAV loader and converter into that format;
//                            the WAV writer of headless recordings.
// - framework/sdl/sdl_audio.h the SDL device and its mixing callback.
// - framework/headless/headless.h recordAudio / keepAudio: 1/30 s of mix per iteration.

#include "sound/game_sounds.h"
#include "sound/sound_set.h"
