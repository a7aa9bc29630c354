#pragma once
// Sound output, the framework's part: voices made from WAV files and played
// through the backend's audio device. The device is opened by the first
// sound made while none is open (and tried again by the next one when that
// fails); without it every sound is silent and nothing is shown. It is
// closed, and every voice freed, when the loop ends, on a fatal error, by
// fw_reset and when another backend is chosen.
//
// Every call comes from the game's thread and returns at once: the device
// mixes on its own thread and is held off only while a flag or a position
// changes (AudioMixer, audio_mixer.h).

#include <string_view>

// Makes a stopped voice from a WAV file (a game path, "Wavs\\x.wav"); loop
// makes it start again from the beginning when it reaches its end. Returns
// the voice, or -1 when it cannot sound: no device, or a file that is
// missing, broken or in a format that cannot be converted.
int fw_audio_load(std::string_view gamePath, bool loop);
// A playing voice goes on; a stopped one resumes where it stopped; a
// one-shot that played to its end starts from the beginning.
void fw_audio_play(int voice);
// Stops without rewinding.
void fw_audio_stop(int voice);
bool fw_audio_playing(int voice);
// Frees the voice; -1 and voices already gone are ignored.
void fw_audio_release(int voice);

// Whether a device is open now.
bool fw_audio_open();
// Closes the device and frees every voice (their numbers then find nothing).
void fw_audio_close();
