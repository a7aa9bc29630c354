#pragma once
// Sutherland-Hodgman clipping of one polygon against the six planes of the
// view frustum, in camera space. Clipping works on indices: a vertex refers
// either to the model's camera-space points or to a point the clipper made
// on a plane, kept in a small pool.

#include <array>
#include <cstdint>
#include <span>
#include <utility>

#include "geometry/bsp_bounds.h"
#include "geometry/matrix3.h"
#include "geometry/vec3.h"

// Planes in the order they are applied. A point is inside when the test
// holds strictly, so a point exactly on a plane is outside.
//   0 near  z > 0.01     f = z - 0.01
//   1 far   z < 3000     f = z - 3000
//   2       z > x        f = z - x
//   3       z > -x       f = z + x
//   4       z > -y       f = z + y
//   5       z > y        f = z - y
// The side planes give 90 degrees of view across and up-down.
inline constexpr int kFrustumPlanes = 6;
inline constexpr float kNearZ = 0.01f;
inline constexpr float kFarZ = 3000.0f;

bool insidePlane(const Vec3& p, int plane);
// Bit k set when the point is inside plane k (the six tests at once).
int insideMask(const Vec3& p);
float planeFunction(const Vec3& p, int plane);

// Room for 100 entries used 1-based: at most 99 vertices.
inline constexpr int kClipCapacity = 100;
inline constexpr int kClipMaxVertices = kClipCapacity - 1;

struct ClipPolygon {
    std::int32_t count = 0;
    std::int32_t face = -1;
    std::array<std::int32_t, kClipCapacity> pointIndices{};
    std::array<Vec3, kClipCapacity> texCoords{};
    // 0: the index is into the model's viewPoints; 1: into the ClipVertexPool.
    std::array<std::int32_t, kClipCapacity> fromPool{};
};

// Points made on planes while one polygon is clipped; indices 1..99, the
// count raised before use and set to 0 before each polygon.
struct ClipVertexPool {
    std::array<Vec3, kClipCapacity> points{};
    std::int32_t count = 0;
};

// A polygon to clip seen through its arrays (1-based); fromPool null means
// every index is into viewPoints (a model polygon).
struct ClipInput {
    std::int32_t count = 0;
    std::int32_t face = -1;
    const std::int32_t* pointIndices = nullptr;
    const Vec3* texCoords = nullptr;
    const std::int32_t* fromPool = nullptr;

    static ClipInput of(const ClipPolygon& p) {
        return {p.count, p.face, p.pointIndices.data(), p.texCoords.data(), p.fromPool.data()};
    }
};

// The point where segment P-Q crosses the plane, with the texture coordinate
// interpolated alike (third component 0). clipToPlane passes the end inside
// the plane as P whichever way it walks the edge, so that two polygons
// sharing an edge get bit-identical crossings.
struct EdgeCrossing {
    Vec3 point;
    Vec3 texCoord;
};
EdgeCrossing intersectEdge(const Vec3& p, const Vec3& q, const Vec3& texP, const Vec3& texQ,
                           int plane);

// One pass against one plane. Returns false, with out.count 0, when the
// result would not fit the 99 vertices of out or the 99 points of the pool:
// the caller drops the polygon rather than write past either.
bool clipToPlane(const ClipInput& in, std::span<const Vec3> viewPoints, ClipVertexPool& pool,
                 ClipPolygon& out, int plane);

// The clipper's scratch: two polygons passed back and forth and the pool.
// Owned by the renderer and reused for every polygon of every model.
struct ClipScratch {
    ClipPolygon a;
    ClipPolygon b;
    ClipVertexPool pool;

    // Clips `in` against all six planes; the result is in b (count below 3
    // when nothing is left or the polygon was dropped).
    const ClipPolygon& clipToFrustum(const ClipInput& in, std::span<const Vec3> viewPoints);
};

// The six planes carried into one model's space for one draw, so that boxes
// of the model (subtrees of its BSP tree) can be passed over before any of
// their points is transformed. A box is excluded only when it lies outside
// one plane by more than the rounding of the camera transform and of the
// clipper's crossings could ever make up: every point of it then fails that
// plane's test in camera space too, every polygon in it clips to nothing,
// and passing over it changes no pixel. A box that may touch the frustum is
// kept.
struct ModelFrustum {
    // Inside plane k where dot(normals[k], p) + offsets[k] > 0; the offsets
    // already hold the rounding slack.
    std::array<Vec3, kFrustumPlanes> normals{};
    std::array<Vec3, kFrustumPlanes> absNormals{};
    std::array<float, kFrustumPlanes> offsets{};
    // How far a point of the model can land from where exact arithmetic
    // puts it in camera space, with a wide margin: the same for every plane.
    float slack = 0.0f;

    // rotation and offset as the renderer takes points to camera space
    // (p·rotation + offset); largestCoordinate bounds |p| over the model.
    ModelFrustum(const Matrix3& rotation, const Vec3& offset, float largestCoordinate);

    bool excludes(const BoundingBox& box) const {
        if (box.empty()) return true;
        for (int k = 0; k < kFrustumPlanes; ++k) {
            // The box's largest value of the plane function: at its centre,
            // plus the half extents along the normal's signs.
            const float reach = dot(normals[k], box.centre) + dot(absNormals[k], box.halfSize);
            if (reach + offsets[k] < 0.0f) return true;
        }
        return false;
    }
};
