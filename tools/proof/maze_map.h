#pragma once
// krvtool map: the mazes seen from above, north (-z) up, for authors: the
// floor coloured by its height, walls, the home and the start points,
// passage boxes with where they lead, sound zones, each object with its
// number and its wrong-answer place, the floor a walking player reaches
// shaded apart from the floor nobody reaches, and a labelled grid of world
// coordinates. All mazes go into one picture, one panel below the other.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/screen.h"
#include "proof/indexed_canvas.h"

// The map's own palette (it is no game picture).
namespace map_colour {
inline constexpr std::uint8_t kPage = 0;  // around the panels
inline constexpr std::uint8_t kVoid = 1;  // no floor: rock, outside the maze
inline constexpr std::uint8_t kGrid = 2;
inline constexpr std::uint8_t kText = 3;
inline constexpr std::uint8_t kWall = 4;
inline constexpr std::uint8_t kPassage = 5;
inline constexpr std::uint8_t kSound = 6;
inline constexpr std::uint8_t kObject = 7;
inline constexpr std::uint8_t kOtherPlace = 8;
inline constexpr std::uint8_t kStart = 9;
inline constexpr std::uint8_t kHome = 10;
inline constexpr std::uint8_t kLabelOnDark = 11;
inline constexpr std::uint8_t kHatch = 12;
// Floor by height, low to high: reached by a walking player, and not.
inline constexpr int kHeightLevels = 32;
inline constexpr std::uint8_t kReachedFloor = 16;
inline constexpr std::uint8_t kUnreachedFloor = kReachedFloor + kHeightLevels;
}  // namespace map_colour

std::array<PaletteEntry, 256> map_palette();

// Where one maze lies in the picture.
struct MapPanel {
    int maze = 0;
    int left = 0;  // the pixel of world (minX, minZ)
    int top = 0;
    int width = 0;  // of the map area, pixels
    int height = 0;
    float minX = 0.0f;
    float minZ = 0.0f;
    float pixelsPerUnit = 1.0f;

    int pixelX(float x) const;
    int pixelY(float z) const;
};

struct MazeMap {
    IndexedCanvas canvas{1, 1, map_colour::kPage};
    std::vector<MapPanel> panels;
    float lowestFloor = 0.0f;
    float highestFloor = 0.0f;
};

// Draws the mazes of the current data root (`maze` -1: all of them). The
// logic file is optional: without it the map shows the floors walked from
// the home. Empty, with the reason in `error`, when no maze loads.
std::optional<MazeMap> drawMazeMap(int maze, std::string& error);
