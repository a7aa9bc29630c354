#include "geometry/polygon.h"

#include "geometry/face.h"

namespace {
// Coordinates this close to 0 are snapped to it, so that rounding in the
// mapping does not make a coordinate that should be 0 trigger a shift.
// The bounds are doubles, as everywhere the format compares with 0.0001.
float snapToZero(float value) {
    const double wide = value;
    return (wide > -0.0001 && wide < 0.0001) ? 0.0f : value;
}
}  // namespace

void Polygon::addPoint(std::int32_t pointIndex) {
    pointIndices.push_back(pointIndex);
    texCoords.push_back(Vec3{});
    ++pointCount;
}

void Polygon::computeTexCoords(std::span<const Vec3> points, std::span<const Face> faces,
                               float& minU, float& minV) {
    const Face& owner = faces[face];
    if (!owner.textured()) return;
    for (std::int32_t k = 1; k <= pointCount; ++k) {
        Vec3 offset;
        points[pointIndices[k]].add(owner.mapOrigin, offset);
        Vec3 r;
        owner.mapping.transform(offset, r);
        r.addInPlace(owner.texOrigin);
        const float u = snapToZero(r.x);
        const float v = snapToZero(r.y);
        texCoords[k].set(u, v, 1.0f);
        if (u < minU) minU = u;
        if (v < minV) minV = v;
    }
}

void Polygon::shiftTexCoords(std::int32_t du, std::int32_t dv) {
    for (std::int32_t k = 1; k <= pointCount; ++k) {
        texCoords[k].x -= static_cast<float>(du);
        texCoords[k].y -= static_cast<float>(dv);
    }
}

void Polygon::scaleTexCoords() {
    for (std::int32_t k = 1; k <= pointCount; ++k) {
        texCoords[k].x *= 256.0f;
        texCoords[k].y *= 256.0f;
    }
}
