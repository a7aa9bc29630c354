#pragma once
// The game's sound effects by number: the sound set loads the files in this
// order, and the logic file's sound zones name them by the same numbers.

inline constexpr const char* kSoundFiles[] = {"Spacdoor.wav", "Superb.wav", "Applause.wav",
                                              "Cow.wav",      "Argh.wav",   "alarm.wav"};

inline constexpr int kPassageSound = 0;    // a passage moved the player
inline constexpr int kFloatSound = 0;      // floating up with M
inline constexpr int kRightSound = 1;      // a right answer, not the last
inline constexpr int kLastRightSound = 2;  // the last right answer
inline constexpr int kBumpSound = 4;       // the player bumped into the maze
inline constexpr int kWrongSound = 5;      // a wrong answer
