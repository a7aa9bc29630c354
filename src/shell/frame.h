#pragma once
// Composition of each game frame: background, 3D view or question, then the
// help screen or the options menu, then the frame rate.

#include <array>
#include <cstdint>
#include <string_view>

// The draw callback from the end of the intro until the ending.
void draw_game_frame();

// Sets every third byte of the 640x480 frame to 0, starting with the first.
// 640 is not a multiple of 3, so the pattern shifts a pixel per row and
// leaves diagonal black stripes over the picture.
void dim_frame(std::uint8_t* pixels);

struct HelpLine {
    int y;
    std::string_view text;
};
inline constexpr int kHelpX = 40;
extern const std::array<HelpLine, 11> kHelpLines;

// Where the frame rate is written.
inline constexpr int kFpsX = 50;
inline constexpr int kFpsY = 430;
