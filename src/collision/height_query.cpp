#include "collision/height_query.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "framework/fatal.h"
#include "geometry/collision_grid.h"
#include "geometry/edge_geometry.h"
#include "geometry/face.h"
#include "geometry/polygon.h"

namespace {

// The polygon is taken as convex in x-z: the point is inside when it lies on
// the closing edge's side of every other edge. Only the other edges get the
// tolerance, so a point on the closing edge's line is judged by the rest.
bool covers(const CollisionGrid& grid, const Polygon& polygon, float x, float z) {
    const std::int32_t n = polygon.pointCount;
    auto pointOf = [&](std::int32_t k) -> const Vec3& {
        return grid.points[polygon.pointIndices[k]];
    };
    float value = 0.0f;
    const bool reference =
        edgeSide(x, z, pointOf(n).x, pointOf(n).z, pointOf(1).x, pointOf(1).z, value);
    for (std::int32_t k = 1; k < n; ++k) {
        const Vec3& a = pointOf(k);
        const Vec3& b = pointOf(k + 1);
        const bool side = edgeSide(x, z, a.x, a.z, b.x, b.z, value);
        if (side != reference && std::fabs(value) > kEdgeTolerance) return false;
    }
    return true;
}

// Height of the face's plane at (x, z), through the polygon's first point;
// the normal's length cancels out.
float planeHeight(const Vec3& first, const Vec3& normal, float x, float z) {
    return (normal.x * (first.x - x) + normal.y * first.y + normal.z * (first.z - z)) / normal.y;
}

}  // namespace

bool queryHeights(const CollisionGrid& grid, float x, float y, float z, float& floorDist,
                  float& ceilingDist) {
    const GridCell* cell = grid.cellAt(x, z);
    if (cell == nullptr || cell->count < 1) return false;

    // Fixed room for every entry of a cell: no allocation per step.
    std::array<std::int32_t, GridCell::kCapacity> covering{};
    std::int32_t coveringCount = 0;
    for (std::int32_t i = 0; i < cell->count; ++i) {
        const std::int32_t number = cell->polygon[i];
        if (cell->coverage[i] == Coverage::CoverFull || covers(grid, grid.polygons[number], x, z))
            covering[coveringCount++] = number;
    }
    if (coveringCount == 0) return false;

    float floorFound = kNoSurface;
    float ceilingFound = kNoSurface;
    for (std::int32_t i = 0; i < coveringCount; ++i) {
        const Polygon& polygon = grid.polygons[covering[i]];
        const Vec3& first = grid.points[polygon.pointIndices[1]];
        const Face& face = grid.faces[polygon.face];
        // Strict comparisons: among equal distances the first polygon keeps
        // its place. A flat polygon's height is its first point's y.
        switch (face.slopeClass) {
            case SlopeClass::FlatFloor: {
                const float d = first.y - y;
                if (std::fabs(d) < std::fabs(floorFound)) floorFound = d;
                break;
            }
            case SlopeClass::SlopedFloor: {
                const float d = planeHeight(first, face.normal, x, z) - y;
                if (std::fabs(d) < std::fabs(floorFound)) floorFound = d;
                break;
            }
            case SlopeClass::FlatCeiling: {
                const float d = first.y - y;
                if (d > 0.0f && d < ceilingFound) ceilingFound = d;
                break;
            }
            case SlopeClass::SlopedCeiling: {
                const float d = planeHeight(first, face.normal, x, z) - y;
                if (d > 0.0f && d < ceilingFound) ceilingFound = d;
                break;
            }
            default: gfx_fatal_error("Not defined kind of polygon in collision detection object!");
        }
    }
    floorDist = floorFound;
    ceilingDist = ceilingFound;
    return true;
}
