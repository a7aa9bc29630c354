#pragma once
// The ending: the lines of Data\krv.end scrolling up the screen, centred,
// after the game is won; the program ends when they have scrolled out or a
// key is pressed (the key handler's part).
//
//   ending_file.h  the file format
//   ending.h       the scrolling text and its draw callback

#include <cstdint>
#include <string>
#include <vector>

struct EndingText {
    static constexpr std::int32_t kStartY = 480;
    static constexpr std::int32_t kLineSpacing = 20;
    static constexpr std::int32_t kStep = 2;  // pixels up per step
    static constexpr std::uint32_t kStepMicroseconds = 80000;

    std::vector<std::string> lines;  // every non-empty line of the file
    // Whether the file opened: an opened file without lines still scrolls
    // its empty screen out; a missing file ends the game at once.
    bool opened = false;
    std::int32_t scrollY = kStartY;  // y of the first line

    // Each line centred on x 320, line i at scrollY + 20·i; lines wider than
    // the screen start left of it and are cut.
    void draw() const;
    // One step up; true once the text has scrolled out, that is when scrollY
    // is above -20·(line count) - 40.
    bool scroll();
};

// Reads the ending file (load_resources); a missing file gives no lines.
void loadEnding();
// The draw callback from the key press that wins the game: at most one step
// per 80 ms on the shared stopwatch, the first without waiting (it is not
// restarted when the ending begins). Without an ending file the program
// ends at once.
void draw_ending_frame();
