#pragma once
// What lies above and below a point: the floor and ceiling distances found
// in the point's grid cell.

struct CollisionGrid;

// The starting value of both distances, kept where nothing was found.
constexpr float kNoSurface = 1.0e15f;

// Side tests whose cross product is smaller than this count as on the edge,
// so a point on a shared edge is covered by both neighbours.
constexpr float kEdgeTolerance = 0.05f;

// floorDist: signed vertical distance from the point up to the nearest floor
// polygon (by absolute value; negative below). ceilingDist: the smallest
// positive distance up to a ceiling. False, with the outputs untouched, when
// the point is outside the grid, its cell is empty or no polygon of the cell
// covers it.
bool queryHeights(const CollisionGrid& grid, float x, float y, float z, float& floorDist,
                  float& ceilingDist);
