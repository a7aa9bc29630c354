#pragma once
// Boxes around what a walk of a model's BSP tree can reach, so that the
// renderer can pass over a whole subtree that lies out of view. Built once
// at load from the model's own points; the boxes a file states per node are
// never trusted for this.

#include <cstdint>
#include <span>
#include <vector>

#include "geometry/bsp_node.h"
#include "geometry/polygon.h"
#include "geometry/vec3.h"

// An axis-aligned box in model space as centre and half extents; a negative
// half extent marks the empty box (nothing inside).
struct BoundingBox {
    Vec3 centre;
    Vec3 halfSize{-1.0f, -1.0f, -1.0f};

    bool empty() const { return halfSize.x < 0.0f; }
};

struct BspBounds {
    // [nodeCount + 1]: node n's box holds every polygon a walk from n can
    // visit, whichever side of each plane the eye is on.
    std::vector<BoundingBox> subtrees;
    // [polygonCount + 1]: each polygon's own points.
    std::vector<BoundingBox> polygons;
    // The largest |coordinate| of any point: how far a box test must allow
    // for the rounding of the camera transform.
    float largestCoordinate = 0.0f;
};

// For a tree the loader has checked (no tree node reached twice from node 1,
// chains that end); a node the tree from node 1 does not reach gets the
// whole model's box.
BspBounds buildBspBounds(std::span<const Vec3> points, std::span<const Polygon> polygons,
                         std::span<const BspNode> nodes);
