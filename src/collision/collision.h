#pragma once
// Collision detection: keeps the eye on the floors of the current maze and
// out of low ceilings.
//
//   height_query.h    floor and ceiling distances at a point (queryHeights)
//   move_test.h       the move test and response (checkMove)
//
// They read the model's collision grid, which the model builds as it loads
// (in geometry, below this folder):
//   geometry/collision_grid.h  the per-model grid of floor and ceiling
//                              polygons and its build (buildCollisionGrid,
//                              createGrid, insertPolygon, cellAt)
//   geometry/edge_geometry.h   x-z edge work: edgeSide, strip clipping

#include "collision/height_query.h"
#include "collision/move_test.h"
#include "geometry/collision_grid.h"
#include "geometry/edge_geometry.h"
