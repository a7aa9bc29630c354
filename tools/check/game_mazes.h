#pragma once
// The game's three mazes as the tools load them: the same files, cell size
// and home the game gives them, so a tool's collision grids and reach walk
// are the game's.

#include <array>
#include <cstdint>
#include <memory>

#include "geometry/model.h"
#include "geometry/vec3.h"

class TextureList;

inline constexpr std::array<const char*, 3> kMazeFiles{"krv1.krv", "krv2.krv", "krv3.krv"};
inline constexpr std::int32_t kMazeCellSize = 100;
inline const Vec3 kMazeHome{790.0f, 40.0f, -105.0f};

// Loads Objects\krv1.krv to krv3.krv of the current data root (silently,
// as check does: a failed load keeps its loadError).
std::array<std::unique_ptr<Model>, 3> loadGameMazes(TextureList& textures);
