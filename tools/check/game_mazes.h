#pragma once
// The game's three mazes as the tools load them: the game's own table
// (kMazeFiles, kMazeCellSize, kMazeHome), so a tool's collision grids and
// reach walk are the game's.

#include <array>
#include <cstdint>
#include <memory>

#include "geometry/model.h"
#include "geometry/vec3.h"
#include "logic/maze_table.h"

class TextureList;

// Loads Objects\krv1.krv to krv3.krv of the current data root (silently,
// as check does: a failed load keeps its loadError).
std::array<std::unique_ptr<Model>, 3> loadGameMazes(TextureList& textures);
