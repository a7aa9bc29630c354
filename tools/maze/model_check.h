#pragma once
// Checks of a model's structure that the game relies on but does not test:
// the BSP tree's invariants, cracks from T-junctions, and the load that the
// floors and ceilings put on the collision grid.

#include <string>
#include <vector>

#include "maze/model_data.h"

// One problem found, with the 0-based polygons it concerns (the first is
// the one at fault), so that a compiler can name their source lines.
struct ModelProblem {
    std::string text;
    std::vector<int> polygons;
};

// Problems of the tree: links and indices out of range, a node reached twice,
// a polygon in no node or in two, a subtree not wholly on its side of its
// node's plane (within `tolerance` units), chains that are not coplanar with
// their node or face the wrong way, polygons that are not planar, convex or
// wound to face along their face normal. Empty when the model is sound.
std::vector<ModelProblem> find_tree_problems(const ModelData& model, double tolerance = 0.01);
std::vector<std::string> check_bsp_tree(const ModelData& model, double tolerance = 0.01);

// Edges that have a point of the model strictly inside them.
std::vector<ModelProblem> find_crack_problems(const ModelData& model);
std::vector<std::string> check_t_junctions(const ModelData& model);

// The most entries any cell of the collision grid gets, counted the way the
// game builds the grid: every floor and ceiling polygon enters every cell of
// its bounding range. The game stops on a 51st entry.
struct GridLoad {
    int maxEntries = 0;
    double cellX = 0.0;  // low corner of the fullest cell
    double cellZ = 0.0;
    std::vector<int> polygons;  // 0-based, the entries of the fullest cell
};
GridLoad collision_grid_load(const ModelData& model, int cellSize);
