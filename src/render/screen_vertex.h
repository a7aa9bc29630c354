#pragma once
// A projected vertex as the rasterizers take it. u and v are premultiplied by
// w = 1/z so that they interpolate linearly in screen space.

#include <cstdint>

struct ScreenVertex {
    float uw = 0.0f;  // u/z, u in texels
    float vw = 0.0f;  // v/z
    float w = 0.0f;   // 1/z, larger is nearer
    std::int32_t x = 0;  // screen column, truncated toward zero
    std::int32_t y = 0;  // screen line, truncated toward zero
};
