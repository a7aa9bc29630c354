#pragma once
// The intro: a timed slide show of pictures with a sound, read from
// Data\krv.int, shown from the first loop iteration until it runs out or
// Esc is pressed; then the game frame takes over.
//
//   intro_file.h  the file format, read into plain records
//   intro.h       the entries with their pictures, the groups a frame
//                 draws, the draw callback
//
// Times are absolute: the stopwatch starts at the first intro frame and is
// never restarted during the intro. A group is an entry with the zero-time
// entries before it, drawn as layers under it; it stays until the stopwatch
// passes its last entry's time, so a group whose time has already passed is
// shown for exactly one frame.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/owned_bitmap.h"
#include "shell/intro_file.h"
#include "sound/sound_set.h"

struct DrawContext;

struct IntroEntry {
    std::string name;
    const GfxBitmap* picture = nullptr;  // its own or an earlier entry's; none for '-'
    OwnedBitmap ownPicture;              // set only in the entry that loaded it
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t time = 0;  // milliseconds after the start

    bool ownsPicture() const { return ownPicture != nullptr; }
};

// The entries one frame draws: first to end, both included.
struct IntroGroup {
    std::size_t first = 0;
    std::size_t end = 0;
};

struct Intro {
    static constexpr std::uint32_t kMicrosecondsPerTime = 1000;

    std::vector<IntroEntry> entries;  // in file order
    std::size_t current = 0;          // the head of what is still to show
    SoundEffect sound;                // "intro.wav", one-shot

    // Replaces the entries by the records', loading each picture once (by
    // name); a missing picture ends the program.
    void build(const IntroFileContent& content);
    // True once no entry is left to show (at once for an empty intro).
    bool finished() const { return current >= entries.size(); }
    // The group starting at the current entry; only while not finished.
    IntroGroup currentGroup() const;
    void drawGroup(const IntroGroup& group, DrawContext* context) const;
    // Moves past the group when `elapsed` (stopwatch microseconds) has
    // reached its end's time.
    void advance(const IntroGroup& group, std::uint32_t elapsed);
    // Stops and releases the sound and every entry, each picture once.
    void release();
};

// Reads the intro file and makes the intro sound (load_resources).
void loadIntro();
// The draw callback while the intro runs; installs draw_game_frame at its end.
void draw_intro_frame();
// Ends the intro before its first frame, as if it had none: a player who
// continues a quiz goes straight back into the maze.
void skip_intro();
