#include "render/projection.h"

#include <algorithm>


ScreenVertex makeScreenVertex(const Vec3& projected, const Vec3& texCoord) {
    ScreenVertex v;
    const float x = std::clamp(projected.x, kViewOriginX, kViewOriginX + kViewWidth);
    const float y = std::clamp(projected.y, kViewOriginY, kViewOriginY + kViewHeight);
    v.x = static_cast<int>(x);
    v.y = static_cast<int>(y);
    v.uw = texCoord.x * projected.z;
    v.vw = texCoord.y * projected.z;
    v.w = projected.z;
    return v;
}
