#pragma once
// The game's three mazes: maze i is slot i of the world, named
// kMazeSlotNames[i], its model Objects\ + kMazeFiles[i] with a collision grid
// of kMazeCellSize; every maze puts the eye at kMazeHome when the game starts
// in it. The tools load the mazes from this table too, so their grids and
// reach walks are the game's.

#include <array>
#include <cstdint>

#include "geometry/vec3.h"

inline constexpr std::array<const char*, 3> kMazeSlotNames{"MAZE", "MAZE2", "MAZE3"};
inline constexpr std::array<const char*, 3> kMazeFiles{"krv1.krv", "krv2.krv", "krv3.krv"};
inline constexpr std::int32_t kMazeCellSize = 100;
inline constexpr Vec3 kMazeHome{790.0f, 40.0f, -105.0f};
