#pragma once
// Perspective-correct texturing along a scanline: the true texture
// coordinates are recomputed (one divide) every 16 pixels and stepped
// linearly in 16.16 fixed point in between; depth (1/z) is linear across
// the whole line.

#include <cmath>
#include <cstdint>

// Textures are 256 x 256 texels, rows 256 bytes apart; coordinates wrap
// with a mask, so no texture read can leave the bitmap.
// u and v are 16.16 texel coordinates held unsigned so that stepping wraps
// instead of overflowing; only bits 16..23 are used.
inline std::uint8_t texelAt(const std::uint8_t* texture, std::uint32_t u, std::uint32_t v) {
    return texture[((v >> 8) & 0xFF00) | ((u >> 16) & 0xFF)];
}

// Conversion to the nearest integer in the current rounding mode. 16.16
// values of distant or very oblique surfaces may not fit 32 bits: they wrap,
// which the texel mask makes harmless.
inline std::uint32_t nearestFixed(float value) {
    return static_cast<std::uint32_t>(std::lrint(value));
}

// (to - from) / 16 with an arithmetic shift, on wrapped 32-bit values.
inline std::uint32_t blockStep(std::uint32_t from, std::uint32_t to) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(to - from) >> 4);
}

// Interpolation of one scanline: the left end's u/z, v/z, 1/z and the steps
// per pixel, each step (right - left) / n with n fixed by the rasterizer.
struct LineGradients {
    float uw = 0.0f;
    float vw = 0.0f;
    float w = 0.0f;
    float duw = 0.0f;
    float dvw = 0.0f;
    float dw = 0.0f;
};

inline constexpr int kPerspectiveBlock = 16;

// Textures `count` pixels starting `offset` pixels right of the line's left
// end: calls plot(i, texel, depth) for i = 0 .. count - 1. A last block
// shorter than 16 still takes its steps from the 16-pixel difference.
template <typename Plot>
inline void mapTextureRun(const std::uint8_t* texture, const LineGradients& g, int offset,
                          int count, Plot&& plot) {
    // Locals, so that the pixel and depth stores cannot be taken to alias
    // the gradients and force a reload per pixel.
    const float dw = g.dw;
    const float k = static_cast<float>(offset);
    float u = g.uw + g.duw * k;
    float v = g.vw + g.dvw * k;
    float w = g.w + g.dw * k;
    float depth = w;
    const float du16 = 16.0f * g.duw;
    const float dv16 = 16.0f * g.dvw;
    const float dw16 = 16.0f * g.dw;
    float z = 1.0f / w;
    std::uint32_t u0 = nearestFixed(65536.0f * z * u);
    std::uint32_t v0 = nearestFixed(65536.0f * z * v);
    u += du16;
    v += dv16;
    w += dw16;
    int i = 0;
    while (count > 0) {
        const int block = count < kPerspectiveBlock ? count : kPerspectiveBlock;
        z = 1.0f / w;
        const std::uint32_t u1 = nearestFixed(65536.0f * z * u);
        const std::uint32_t v1 = nearestFixed(65536.0f * z * v);
        const std::uint32_t su = blockStep(u0, u1);
        const std::uint32_t sv = blockStep(v0, v1);
        std::uint32_t uf = u0;
        std::uint32_t vf = v0;
        for (int end = i + block; i < end; ++i) {
            plot(i, texelAt(texture, uf, vf), depth);
            uf += su;
            vf += sv;
            depth += dw;
        }
        // Each block starts afresh from the exact value, not the stepped one.
        u0 = u1;
        v0 = v1;
        u += du16;
        v += dv16;
        w += dw16;
        count -= block;
    }
}
