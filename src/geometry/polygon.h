#pragma once
// One polygon of a model: 1-based point indices in file order with a texture
// coordinate per vertex, and the face it belongs to.

#include <cstdint>
#include <span>
#include <vector>

#include "geometry/vec3.h"

struct Face;

struct Polygon {
    std::int32_t pointCount = 0;
    std::vector<std::int32_t> pointIndices = std::vector<std::int32_t>(1, 0);  // [pointCount + 1]
    std::int32_t face = -1;  // -1 until a face line names the polygon
    // Parallel to pointIndices: (u, v, w); u and v are in texels once scaled.
    std::vector<Vec3> texCoords = std::vector<Vec3>(1);

    void addPoint(std::int32_t pointIndex);

    // The three steps of texture-coordinate derivation, run over all polygons
    // in index order by the loader: compute (textured faces only; lowers
    // minU/minV to the smallest coordinates seen), shift every polygon by
    // whole repetitions so no coordinate is negative, then scale to texels.
    void computeTexCoords(std::span<const Vec3> points, std::span<const Face> faces, float& minU,
                          float& minV);
    void shiftTexCoords(std::int32_t du, std::int32_t dv);
    void scaleTexCoords();
};
