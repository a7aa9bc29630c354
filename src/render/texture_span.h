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
// which the texel mask makes harmless. The wrap needs the 64-bit rounding:
// where long is 32 bits (the browser, Windows) lrint of such a value is out
// of range and comes back as anything.
inline std::uint32_t nearestFixed(float value) {
    return static_cast<std::uint32_t>(std::llrint(value));
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

// The exact texture coordinates of a run, one perspective block at a time.
// Shared by every texturing loop so that they all land on the same texels.
class PerspectiveBlocks {
public:
    // Starts the run `offset` pixels right of the line's left end.
    PerspectiveBlocks(const LineGradients& g, int offset) {
        const float k = static_cast<float>(offset);
        u_ = g.uw + g.duw * k;
        v_ = g.vw + g.dvw * k;
        w_ = g.w + g.dw * k;
        du16_ = 16.0f * g.duw;
        dv16_ = 16.0f * g.dvw;
        dw16_ = 16.0f * g.dw;
        const float z = 1.0f / w_;
        u0_ = nearestFixed(65536.0f * z * u_);
        v0_ = nearestFixed(65536.0f * z * v_);
        u_ += du16_;
        v_ += dv16_;
        w_ += dw16_;
    }

    // The next block's first coordinates (u, v) and per-pixel steps (su,
    // sv), taken from the exact values 16 pixels apart: one divide.
    void next(std::uint32_t& u, std::uint32_t& v, std::uint32_t& su, std::uint32_t& sv) {
        const float z = 1.0f / w_;
        const std::uint32_t u1 = nearestFixed(65536.0f * z * u_);
        const std::uint32_t v1 = nearestFixed(65536.0f * z * v_);
        su = blockStep(u0_, u1);
        sv = blockStep(v0_, v1);
        u = u0_;
        v = v0_;
        // Each block starts afresh from the exact value, not the stepped one.
        u0_ = u1;
        v0_ = v1;
        u_ += du16_;
        v_ += dv16_;
        w_ += dw16_;
    }

private:
    float u_ = 0.0f;
    float v_ = 0.0f;
    float w_ = 0.0f;
    float du16_ = 0.0f;
    float dv16_ = 0.0f;
    float dw16_ = 0.0f;
    std::uint32_t u0_ = 0;
    std::uint32_t v0_ = 0;
};

// Textures `count` pixels starting `offset` pixels right of the line's left
// end: calls plot(i, texel, depth) for i = 0 .. count - 1. A last block
// shorter than 16 still takes its steps from the 16-pixel difference.
template <typename Plot>
inline void mapTextureRun(const std::uint8_t* texture, const LineGradients& g, int offset,
                          int count, Plot&& plot) {
    // Locals, so that the pixel and depth stores cannot be taken to alias
    // the gradients and force a reload per pixel.
    const float dw = g.dw;
    float depth = g.w + g.dw * static_cast<float>(offset);
    PerspectiveBlocks blocks(g, offset);
    int i = 0;
    while (count > 0) {
        const int block = count < kPerspectiveBlock ? count : kPerspectiveBlock;
        std::uint32_t uf, vf, su, sv;
        blocks.next(uf, vf, su, sv);
        for (int end = i + block; i < end; ++i) {
            plot(i, texelAt(texture, uf, vf), depth);
            uf += su;
            vf += sv;
            depth += dw;
        }
        count -= block;
    }
}

// The maze's texturing: `count` texels into pixels[0 ..], no depth, by the
// fastest painter this processor has (texture_run_painters.h); all of them
// paint the texels mapTextureRun gives.
void paintTextureRun(std::uint8_t* pixels, const std::uint8_t* texture, const LineGradients& g,
                     int offset, int count);

// The 1/z of pixels first .. last of a run, stepped from the run's start one
// addition per pixel exactly as mapTextureRun steps it, stored into
// depths[x] only for columns from .. to. `offset` is first's distance from
// the line's left end.
inline void writeDepthRun(float* depths, const LineGradients& g, int offset, int first, int last,
                          int from, int to) {
    const int end = last < to ? last : to;
    if (end < from || end < first) return;
    const float dw = g.dw;
    float depth = g.w + g.dw * static_cast<float>(offset);
    int x = first;
    for (; x < from; ++x) depth += dw;
    for (; x <= end; ++x) {
        depths[x] = depth;
        depth += dw;
    }
}
