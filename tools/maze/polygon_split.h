#pragma once
// Cuts the polygons the game could not take whole: more vertices than its
// clipper holds, or a point list longer than a model file line. Closing
// T-junctions is what makes them: a long floor gathers a vertex wherever a
// neighbour's corner touches its edge.

#include <vector>

#include "maze/mesh.h"
#include "maze/model_data.h"
#include "render/clipping.h"

// The polygon a model may carry at most vertices of: the game's clipper
// holds 99 and clipping adds up to six.
constexpr int kMaxPolygonVertices = 90;
static_assert(kMaxPolygonVertices + kFrustumPlanes <= kClipMaxVertices);

// Whether a polygon of these points can be written and drawn whole.
bool polygon_fits(const std::vector<int>& points);

// Cuts every polygon that does not fit along diagonals between its own
// vertices, so no point is added and no crack opened. The polygon keeps its
// index and node; each cut-off piece is appended to mesh.polygons with a new
// node in the same chain (nodes and polygons correspond one to one). False
// when a polygon has no cut that leaves both sides with area.
bool split_long_polygons(Mesh& mesh, std::vector<ModelNode>& nodes, int& pieces);
