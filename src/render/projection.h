#pragma once
// Camera space to screen: x right, y down, z along the line of sight. The
// view is the 620 x 390 rectangle from (10, 10) to (630, 400) centred on
// (320, 205) with 90 degrees of view both ways, so the picture is squeezed
// vertically (310 pixels per unit of x/z across, 195 per unit of y/z down).

#include "geometry/vec3.h"
#include "render/screen_vertex.h"

inline constexpr float kViewWidth = 620.0f;
inline constexpr float kViewHeight = 390.0f;
inline constexpr float kViewOriginX = 10.0f;
inline constexpr float kViewOriginY = 10.0f;

// (screen x, screen y, 1/z) as floats; only for z > 0.01, which the near
// plane guarantees.
inline Vec3 projectPoint(const Vec3& p) {
    const float w = 1.0f / p.z;
    // The order of the operations is kept: it decides the rounding and with
    // it which pixel a vertex lands on.
    const float sx = ((w * kViewWidth) / 2.0f) * p.x + kViewOriginX + kViewWidth / 2.0f;
    const float sy = ((w * kViewHeight) / 2.0f) * p.y + kViewOriginY + kViewHeight / 2.0f;
    return {sx, sy, w};
}

// A projected point with its texture coordinate. A vertex inside the
// frustum lands in x 10..630, y 10..400; a point the clipper made on a side
// plane can round to just outside (9.99 truncates to 9). Clamping to the
// view rectangle changes nothing else and keeps every triangle off the
// border picture and inside the page.
ScreenVertex makeScreenVertex(const Vec3& projected, const Vec3& texCoord);
