#include "render/clipping.h"

#include <cmath>

int insideMask(const Vec3& p) {
    // The same comparisons as insidePlane, bit k for plane k.
    return (p.z > kNearZ ? 1 : 0) | (p.z < kFarZ ? 2 : 0) | (p.z > p.x ? 4 : 0) |
           (p.z > -p.x ? 8 : 0) | (p.z > -p.y ? 16 : 0) | (p.z > p.y ? 32 : 0);
}

bool insidePlane(const Vec3& p, int plane) {
    switch (plane) {
        case 0: return p.z > kNearZ;
        case 1: return p.z < kFarZ;
        case 2: return p.z > p.x;
        case 3: return p.z > -p.x;
        case 4: return p.z > -p.y;
        default: return p.z > p.y;
    }
}

float planeFunction(const Vec3& p, int plane) {
    switch (plane) {
        case 0: return p.z - kNearZ;
        case 1: return p.z - kFarZ;
        case 2: return p.z - p.x;
        case 3: return p.z + p.x;
        case 4: return p.z + p.y;
        default: return p.z - p.y;
    }
}

EdgeCrossing intersectEdge(const Vec3& p, const Vec3& q, const Vec3& texP, const Vec3& texQ,
                           int plane) {
    const float a = planeFunction(p, plane);
    const float b = planeFunction(q, plane);
    // Only called for an edge with one end inside and one not, so a != b.
    const float t = a / (a - b);
    EdgeCrossing c;
    c.point.set(p.x - (p.x - q.x) * t, p.y - (p.y - q.y) * t, p.z - (p.z - q.z) * t);
    c.texCoord.set(texP.x - (texP.x - texQ.x) * t, texP.y - (texP.y - texQ.y) * t, 0.0f);
    return c;
}

bool clipToPlane(const ClipInput& in, std::span<const Vec3> viewPoints, ClipVertexPool& pool,
                 ClipPolygon& out, int plane) {
    out.count = 0;
    out.face = in.face;
    const int n = in.count;
    if (n < 2) return true;

    auto position = [&](int j) -> const Vec3& {
        const int index = in.pointIndices[j];
        return (in.fromPool && in.fromPool[j]) ? pool.points[index] : viewPoints[index];
    };

    const Vec3* prev = &position(n);
    const Vec3* prevTex = &in.texCoords[n];
    bool prevIn = insidePlane(*prev, plane);
    int k = 0;
    for (int j = 1; j <= n; ++j) {
        const Vec3& cur = position(j);
        const Vec3& curTex = in.texCoords[j];
        const bool curIn = insidePlane(cur, plane);
        if (prevIn != curIn) {
            if (k >= kClipMaxVertices || pool.count >= kClipMaxVertices) {
                out.count = 0;
                return false;
            }
            const int c = ++pool.count;
            // Always from the inside end: the neighbour sharing this edge walks
            // it the other way, and only the same operand order gives both
            // polygons the same bits, so no pixel falls between them.
            const EdgeCrossing crossing = prevIn
                                              ? intersectEdge(*prev, cur, *prevTex, curTex, plane)
                                              : intersectEdge(cur, *prev, curTex, *prevTex, plane);
            pool.points[c] = crossing.point;
            ++k;
            out.pointIndices[k] = c;
            out.fromPool[k] = 1;
            out.texCoords[k] = crossing.texCoord;
        }
        if (curIn) {
            if (k >= kClipMaxVertices) {
                out.count = 0;
                return false;
            }
            ++k;
            out.pointIndices[k] = in.pointIndices[j];
            out.texCoords[k] = curTex;
            out.fromPool[k] = in.fromPool ? in.fromPool[j] : 0;
        }
        prev = &cur;
        prevTex = &curTex;
        prevIn = curIn;
    }
    out.count = k;
    return true;
}

const ClipPolygon& ClipScratch::clipToFrustum(const ClipInput& in,
                                               std::span<const Vec3> viewPoints) {
    pool.count = 0;
    b.count = 0;
    b.face = in.face;
    // The first pass would refuse a polygon with more vertices than fit.
    if (in.count < 2 || in.count > kClipMaxVertices) return b;
    // A pass against a plane that every vertex is inside hands the polygon on
    // as it is (from-pool flags made 0), and one against a plane that every
    // vertex is outside of leaves nothing. So only from the first plane that
    // really cuts do the passes run; most polygons are wholly in view or
    // wholly beside it and need none.
    constexpr int kAllPlanes = (1 << kFrustumPlanes) - 1;
    int insideAll = kAllPlanes;
    int insideAny = 0;
    for (int j = 1; j <= in.count; ++j) {
        const int index = in.pointIndices[j];
        const Vec3& p = (in.fromPool && in.fromPool[j]) ? pool.points[index] : viewPoints[index];
        const int mask = insideMask(p);
        insideAll &= mask;
        insideAny |= mask;
    }
    int first = 0;
    while (first < kFrustumPlanes && (insideAll & (1 << first))) ++first;
    if (first == kFrustumPlanes) {
        b.count = in.count;
        for (int j = 1; j <= in.count; ++j) {
            b.pointIndices[j] = in.pointIndices[j];
            b.texCoords[j] = in.texCoords[j];
            b.fromPool[j] = in.fromPool ? in.fromPool[j] : 0;
        }
        return b;
    }
    if (!(insideAny & (1 << first))) return b;

    // Passes alternate between the two scratch polygons so that the last
    // (plane 5) writes into b.
    ClipPolygon* to = (kFrustumPlanes - first) % 2 == 0 ? &a : &b;
    ClipPolygon* from = to == &a ? &b : &a;
    if (!clipToPlane(in, viewPoints, pool, *to, first)) {
        b.count = 0;
        return b;
    }
    for (int plane = first + 1; plane < kFrustumPlanes; ++plane) {
        std::swap(from, to);
        if (!clipToPlane(ClipInput::of(*from), viewPoints, pool, *to, plane)) {
            b.count = 0;
            return b;
        }
    }
    return *to;
}

namespace {

// Far above the few dozen float roundings between a model point and the
// clipper's last comparison (each at most 2^-24 of the coordinates'
// magnitude), yet at maze sizes only a few units: boxes that close to a
// plane are simply walked.
constexpr float kRelativeSlack = 1.0e-4f;

struct CameraPlane {
    Vec3 normal;  // inside where dot(normal, v) + offset > 0, v in camera space
    float offset;
};

// The same planes as insideMask, as linear functions.
constexpr CameraPlane kCameraPlanes[kFrustumPlanes] = {
    {{0.0f, 0.0f, 1.0f}, -kNearZ}, {{0.0f, 0.0f, -1.0f}, kFarZ}, {{-1.0f, 0.0f, 1.0f}, 0.0f},
    {{1.0f, 0.0f, 1.0f}, 0.0f},    {{0.0f, 1.0f, 1.0f}, 0.0f},   {{0.0f, -1.0f, 1.0f}, 0.0f},
};

}  // namespace

ModelFrustum::ModelFrustum(const Matrix3& rotation, const Vec3& offset, float largestCoordinate) {
    float rotationSize = 0.0f;
    for (const float m : rotation.m) rotationSize += std::fabs(m);
    const float magnitude = largestCoordinate * rotationSize + std::fabs(offset.x) +
                            std::fabs(offset.y) + std::fabs(offset.z) + kFarZ;
    slack = kRelativeSlack * magnitude;
    for (int k = 0; k < kFrustumPlanes; ++k) {
        // v = p·R + o, so dot(c, v) = dot(R·c, p) + dot(c, o).
        const CameraPlane& plane = kCameraPlanes[k];
        Vec3& n = normals[k];
        plane.normal.transform(rotation, n);
        absNormals[k].set(std::fabs(n.x), std::fabs(n.y), std::fabs(n.z));
        offsets[k] = dot(plane.normal, offset) + plane.offset + slack;
    }
}
