#pragma once
// Builds the BSP tree every model file carries, splitting polygons where a
// chosen plane cuts them. Planes are those of the polygons themselves, axis-
// aligned ones preferred, chosen to keep splits few and the halves even.

#include <vector>

#include "maze/mesh.h"
#include "maze/model_data.h"

struct BspResult {
    std::vector<ModelNode> nodes;  // node 0 is the root; polygons index mesh.polygons
    int splits = 0;                // polygons cut in two
};

// Replaces mesh.polygons by the tree's polygons (split pieces included), in
// the order the nodes name them. Coplanar polygons go into the node's front
// chain when they face the node's way and its back chain otherwise.
BspResult build_bsp_tree(Mesh& mesh);

// Puts every point that lies inside a polygon's edge into that edge, so that
// no polygon has a vertex of another in the middle of one of its edges
// (those leave pixel cracks). Returns the number of vertices inserted.
int fix_t_junctions(Mesh& mesh);
