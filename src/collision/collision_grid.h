#pragma once
// Placeholder: the collision grid is being written.

#include <cstdint>

struct Model;

struct CollisionGrid {};

// Builds the model's grid of floor and ceiling polygons; nothing for -1.
void buildCollisionGrid(Model& model, std::int32_t cellSize);
