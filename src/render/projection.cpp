#include "render/projection.h"

#include <algorithm>


namespace {

// A point the clipper made on the right or bottom plane should project to
// exactly 630 or 400 but may come out a few ulps short (629.99997), and
// truncation then moves it a whole pixel in: the bottom row (the walk stops
// before bottom.y) or the right column stays open. Within this distance of
// the far border a coordinate is taken as on it; every interior edge and
// the pixel rules are untouched.
constexpr float kBorderSnap = 1.0f / 256.0f;

float toView(float value, float origin, float size) {
    const float far = origin + size;
    if (value >= far - kBorderSnap) return far;
    return std::max(value, origin);
}

}  // namespace

ScreenVertex makeScreenVertex(const Vec3& projected, const Vec3& texCoord) {
    ScreenVertex v;
    const float x = toView(projected.x, kViewOriginX, kViewWidth);
    const float y = toView(projected.y, kViewOriginY, kViewHeight);
    v.x = static_cast<int>(x);
    v.y = static_cast<int>(y);
    v.uw = texCoord.x * projected.z;
    v.vw = texCoord.y * projected.z;
    v.w = projected.z;
    return v;
}
