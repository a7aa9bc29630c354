#pragma once
// The game palette: a 6x6x6 colour cube in entries 0-215 (each component a
// multiple of 51), entries 216-255 black. Index 215 is white, the text
// colour; index 0 black. Pictures and textures are drawn in it untranslated.

#include <array>
#include <cstdint>

#include "framework/framework.h"

constexpr int kWhite = 215;
constexpr int kBlack = 0;

std::array<PaletteEntry, 256> game_palette();

// The cube entry for levels 0-5 of red, green and blue.
constexpr int cube_index(int red, int green, int blue) { return red + 6 * green + 36 * blue; }

// The cube entry nearest to an 8-bit colour, each component rounded alone.
int nearest_cube_index(int red, int green, int blue);

// Loads the game palette into the framework and makes it visible.
void set_game_palette();
