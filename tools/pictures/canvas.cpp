#include "pictures/canvas.h"

#include <algorithm>
#include <cmath>

#include "shell/game_palette.h"

namespace {

// 4x4 Bayer matrix: thresholds (value + 0.5) / 16 spread each 51-step gap of
// the cube evenly over a 4x4 tile.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Near-white stand-in for the reserved index 215: levels (5, 5, 4).
constexpr int kNearWhite = cube_index(5, 5, 4);

float smoothstep01(float t) {
    return t * t * (3.0f - 2.0f * t);
}

int ditherLevel(float component, float threshold) {
    const float level = std::clamp(component, 0.0f, 255.0f) / 51.0f;
    const int whole = static_cast<int>(level);
    return std::min(5, whole + ((level - static_cast<float>(whole)) > threshold ? 1 : 0));
}

float distanceToSegment(float px, float py, float x0, float y0, float x1, float y1) {
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float lengthSquared = dx * dx + dy * dy;
    float t = 0.0f;
    if (lengthSquared > 0.0f)
        t = std::clamp(((px - x0) * dx + (py - y0) * dy) / lengthSquared, 0.0f, 1.0f);
    const float ex = px - (x0 + t * dx);
    const float ey = py - (y0 + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

Rgb rgb(float red, float green, float blue) {
    return Rgb{red, green, blue};
}

Rgb mix(const Rgb& a, const Rgb& b, float t) {
    return Rgb{a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t,
               a.blue + (b.blue - a.blue) * t};
}

Rgb scaled(const Rgb& colour, float factor) {
    return Rgb{colour.red * factor, colour.green * factor, colour.blue * factor};
}

Rgb added(const Rgb& a, const Rgb& b) {
    return Rgb{a.red + b.red, a.green + b.green, a.blue + b.blue};
}

float hash_noise(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^
                      static_cast<std::uint32_t>(y) * 0xd8163841u ^
                      static_cast<std::uint32_t>(seed) * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return static_cast<float>(h >> 8) / 16777216.0f;
}

float value_noise(float x, float y, int cellSize, int seed) {
    const float fx = x / static_cast<float>(cellSize);
    const float fy = y / static_cast<float>(cellSize);
    const int ix = static_cast<int>(std::floor(fx));
    const int iy = static_cast<int>(std::floor(fy));
    const float tx = smoothstep01(fx - static_cast<float>(ix));
    const float ty = smoothstep01(fy - static_cast<float>(iy));
    const float top =
        hash_noise(ix, iy, seed) + (hash_noise(ix + 1, iy, seed) - hash_noise(ix, iy, seed)) * tx;
    const float bottom = hash_noise(ix, iy + 1, seed) +
                         (hash_noise(ix + 1, iy + 1, seed) - hash_noise(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

RgbCanvas::RgbCanvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

Rgb RgbCanvas::get(int x, int y) const {
    if (!inside(x, y)) return Rgb{};
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void RgbCanvas::set(int x, int y, const Rgb& colour) {
    if (inside(x, y)) pixels_[static_cast<std::size_t>(y) * width_ + x] = colour;
}

void RgbCanvas::blend(int x, int y, const Rgb& colour, float alpha) {
    if (!inside(x, y) || alpha <= 0.0f) return;
    Rgb& pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
    pixel = mix(pixel, colour, std::min(alpha, 1.0f));
}

void RgbCanvas::fillRect(int left, int top, int right, int bottom, const Rgb& colour) {
    for (int y = std::max(top, 0); y <= std::min(bottom, height_ - 1); ++y)
        for (int x = std::max(left, 0); x <= std::min(right, width_ - 1); ++x) set(x, y, colour);
}

void RgbCanvas::verticalGradient(int left, int top, int right, int bottom, const Rgb& topColour,
                                 const Rgb& bottomColour) {
    const float span = static_cast<float>(std::max(bottom - top, 1));
    for (int y = top; y <= bottom; ++y) {
        const Rgb colour = mix(topColour, bottomColour, static_cast<float>(y - top) / span);
        fillRect(left, y, right, y, colour);
    }
}

void RgbCanvas::bevel(int left, int top, int right, int bottom, int thickness, const Rgb& light,
                      const Rgb& dark, float strength) {
    for (int i = 0; i < thickness; ++i) {
        // The outermost ring is the strongest; the bevel softens inwards.
        const float alpha =
            strength * (1.0f - 0.5f * static_cast<float>(i) / static_cast<float>(thickness));
        for (int x = left + i; x <= right - i; ++x) {
            blend(x, top + i, light, alpha);
            blend(x, bottom - i, dark, alpha);
        }
        for (int y = top + i + 1; y < bottom - i; ++y) {
            blend(left + i, y, light, alpha);
            blend(right - i, y, dark, alpha);
        }
    }
}

void RgbCanvas::grain(int left, int top, int right, int bottom, float amount, int seed) {
    for (int y = std::max(top, 0); y <= std::min(bottom, height_ - 1); ++y) {
        for (int x = std::max(left, 0); x <= std::min(right, width_ - 1); ++x) {
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            const float n = 0.45f * value_noise(fx, fy, 16, seed) +
                            0.35f * value_noise(fx, fy, 5, seed + 1) +
                            0.20f * hash_noise(x, y, seed + 2);
            set(x, y, scaled(get(x, y), 1.0f + amount * (n - 0.5f)));
        }
    }
}

void RgbCanvas::rivet(float centreX, float centreY, float radius, const Rgb& colour) {
    const int x0 = static_cast<int>(std::floor(centreX - radius - 2.0f));
    const int y0 = static_cast<int>(std::floor(centreY - radius - 2.0f));
    const int x1 = static_cast<int>(std::ceil(centreX + radius + 2.0f));
    const int y1 = static_cast<int>(std::ceil(centreY + radius + 2.0f));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float dx = static_cast<float>(x) + 0.5f - centreX;
            const float dy = static_cast<float>(y) + 0.5f - centreY;
            const float distance = std::sqrt(dx * dx + dy * dy);
            // A drop shadow down and right, then the lit dome.
            const float sx = dx - 1.0f;
            const float sy = dy - 1.0f;
            const float shadow =
                std::clamp(radius + 0.5f - std::sqrt(sx * sx + sy * sy), 0.0f, 1.0f);
            blend(x, y, rgb(0, 0, 0), 0.6f * shadow);
            const float coverage = std::clamp(radius + 0.5f - distance, 0.0f, 1.0f);
            if (coverage <= 0.0f) continue;
            const float lightness =
                std::clamp(0.55f - 0.45f * (dx + dy) / (radius * 1.414f), 0.0f, 1.0f);
            const float highlight =
                std::clamp(1.0f - std::sqrt((dx + radius * 0.35f) * (dx + radius * 0.35f) +
                                            (dy + radius * 0.35f) * (dy + radius * 0.35f)) /
                                      (radius * 0.5f),
                           0.0f, 1.0f);
            Rgb shade = scaled(colour, 0.45f + 0.9f * lightness);
            shade = mix(shade, rgb(255, 255, 240), 0.7f * highlight);
            blend(x, y, shade, coverage);
        }
    }
}

void RgbCanvas::line(float x0, float y0, float x1, float y1, float lineWidth, const Rgb& colour) {
    const float half = lineWidth * 0.5f;
    const int left = static_cast<int>(std::floor(std::min(x0, x1) - half - 1.0f));
    const int right = static_cast<int>(std::ceil(std::max(x0, x1) + half + 1.0f));
    const int top = static_cast<int>(std::floor(std::min(y0, y1) - half - 1.0f));
    const int bottom = static_cast<int>(std::ceil(std::max(y0, y1) + half + 1.0f));
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const float d = distanceToSegment(static_cast<float>(x) + 0.5f,
                                              static_cast<float>(y) + 0.5f, x0, y0, x1, y1);
            blend(x, y, colour, std::clamp(half + 0.5f - d, 0.0f, 1.0f));
        }
    }
}

void RgbCanvas::glow(float centreX, float centreY, float radiusX, float radiusY,
                     const Rgb& colour) {
    const int left = static_cast<int>(std::floor(centreX - radiusX));
    const int right = static_cast<int>(std::ceil(centreX + radiusX));
    const int top = static_cast<int>(std::floor(centreY - radiusY));
    const int bottom = static_cast<int>(std::ceil(centreY + radiusY));
    for (int y = std::max(top, 0); y <= std::min(bottom, height_ - 1); ++y) {
        for (int x = std::max(left, 0); x <= std::min(right, width_ - 1); ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - centreX) / radiusX;
            const float dy = (static_cast<float>(y) + 0.5f - centreY) / radiusY;
            const float falloff = std::clamp(1.0f - std::sqrt(dx * dx + dy * dy), 0.0f, 1.0f);
            set(x, y, added(get(x, y), scaled(colour, falloff * falloff)));
        }
    }
}

IndexedPicture RgbCanvas::quantise(const std::vector<std::uint8_t>* transparentMask,
                                   int transparentIndex, bool keepWhiteFree) const {
    IndexedPicture picture;
    picture.width = width_;
    picture.height = height_;
    picture.pixels.resize(pixels_.size());
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * width_ + x;
            if (transparentMask != nullptr && (*transparentMask)[at] != 0) {
                picture.pixels[at] = static_cast<std::uint8_t>(transparentIndex);
                continue;
            }
            const float threshold = (static_cast<float>(kBayer[y & 3][x & 3]) + 0.5f) / 16.0f;
            const Rgb& colour = pixels_[at];
            int index =
                cube_index(ditherLevel(colour.red, threshold), ditherLevel(colour.green, threshold),
                           ditherLevel(colour.blue, threshold));
            if (keepWhiteFree && index == kWhite) index = kNearWhite;
            picture.pixels[at] = static_cast<std::uint8_t>(index);
        }
    }
    return picture;
}
