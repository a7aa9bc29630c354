#pragma once
// Start-up loading and (re)starting the game.

// Loads everything the game shows or plays, in a fixed order; runs once.
void load_resources();

// Sets the palette, fetches the page's address and reads the questions;
// runs after loading and again after every window/full-screen switch.
void start_game();

// The sound set's files in load order: the logic file and the game name
// sounds by these numbers.
inline constexpr const char* kSoundFiles[] = {"Spacdoor.wav", "Superb.wav", "Applause.wav",
                                              "Cow.wav",      "Argh.wav",   "alarm.wav"};
