#include "pictures/lettering.h"

#include <algorithm>
#include <cmath>

namespace {

struct Point {
    float x;
    float y;
};

// A glyph is up to four polylines; a polyline ends at the first point with
// x < 0 after its start. Unused polylines stay zero: their segments have no
// length and are skipped. Grid: x 0..advance, y 0 (top) .. 6 (baseline).
constexpr int kMaxPoints = 10;
constexpr int kMaxStrokes = 4;

struct Glyph {
    char letter;
    float advance;
    Point strokes[kMaxStrokes][kMaxPoints];
};

constexpr Point kEnd{-1.0f, -1.0f};

// Only the letters the pictures need, plus a few to spare.
constexpr Glyph kGlyphs[] = {
    {'A', 4, {{{0, 6}, {2, 0}, {4, 6}, kEnd}, {{0.7f, 4}, {3.3f, 4}, kEnd}}},
    {'B',
     4,
     {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}, kEnd},
      {{3, 3}, {4, 4}, {4, 5}, {3, 6}, {0, 6}, kEnd}}},
    {'C', 4, {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, kEnd}}},
    {'D', 4, {{{0, 0}, {0, 6}, {2.8f, 6}, {4, 4.6f}, {4, 1.4f}, {2.8f, 0}, {0, 0}, kEnd}}},
    {'E', 3.6f, {{{3.6f, 0}, {0, 0}, {0, 6}, {3.6f, 6}, kEnd}, {{0, 3}, {2.8f, 3}, kEnd}}},
    {'F', 3.6f, {{{3.6f, 0}, {0, 0}, {0, 6}, kEnd}, {{0, 3}, {2.8f, 3}, kEnd}}},
    {'G',
     4,
     {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 3.4f}, {2.4f, 3.4f}}}},
    {'H', 4, {{{0, 0}, {0, 6}, kEnd}, {{4, 0}, {4, 6}, kEnd}, {{0, 3}, {4, 3}, kEnd}}},
    {'I', 2, {{{1, 0}, {1, 6}, kEnd}, {{0, 0}, {2, 0}, kEnd}, {{0, 6}, {2, 6}, kEnd}}},
    {'K', 4, {{{0, 0}, {0, 6}, kEnd}, {{4, 0}, {0, 4}, kEnd}, {{1.4f, 2.6f}, {4, 6}, kEnd}}},
    {'L', 3.6f, {{{0, 0}, {0, 6}, {3.6f, 6}, kEnd}}},
    {'M', 4.6f, {{{0, 6}, {0, 0}, {2.3f, 4}, {4.6f, 0}, {4.6f, 6}, kEnd}}},
    {'N', 4, {{{0, 6}, {0, 0}, {4, 6}, {4, 0}, kEnd}}},
    {'O', 4, {{{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}, kEnd}}},
    {'P', 4, {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}, kEnd}}},
    {'Q',
     4,
     {{{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}, kEnd},
      {{2.6f, 4.4f}, {4.2f, 6.2f}, kEnd}}},
    {'R',
     4,
     {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}, kEnd}, {{2, 3}, {4, 6}, kEnd}}},
    {'S',
     4,
     {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 2}, {1, 3}, {3, 3}, {4, 4}, {4, 5}, kEnd},
      {{4, 5}, {3, 6}, {1, 6}, {0, 5}, kEnd}}},
    {'T', 4, {{{0, 0}, {4, 0}, kEnd}, {{2, 0}, {2, 6}, kEnd}}},
    {'U', 4, {{{0, 0}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 0}, kEnd}}},
    {'V', 4, {{{0, 0}, {2, 6}, {4, 0}, kEnd}}},
    {'W', 4.6f, {{{0, 0}, {1.1f, 6}, {2.3f, 2}, {3.5f, 6}, {4.6f, 0}, kEnd}}},
    {'X', 4, {{{0, 0}, {4, 6}, kEnd}, {{4, 0}, {0, 6}, kEnd}}},
    {'Y', 4, {{{0, 0}, {2, 3}, {4, 0}, kEnd}, {{2, 3}, {2, 6}, kEnd}}},
    {'Z', 4, {{{0, 0}, {4, 0}, {0, 6}, {4, 6}, kEnd}}},
};

const Glyph* findGlyph(char letter) {
    for (const Glyph& glyph : kGlyphs)
        if (glyph.letter == letter) return &glyph;
    return nullptr;
}

constexpr float kSpaceAdvance = 2.5f;

float advanceOf(char letter) {
    const Glyph* glyph = findGlyph(letter);
    return glyph != nullptr ? glyph->advance : kSpaceAdvance;
}

float segmentDistance(float px, float py, Point a, Point b) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = 0.0f;
    if (lengthSquared > 0.0f)
        t = std::clamp(((px - a.x) * dx + (py - a.y) * dy) / lengthSquared, 0.0f, 1.0f);
    const float ex = px - (a.x + t * dx);
    const float ey = py - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

float letter_text_width(std::string_view text, const LetterStyle& style) {
    if (text.empty()) return 0.0f;
    float steps = 0.0f;
    for (char letter : text) steps += advanceOf(letter) + style.letterGap;
    return (steps - style.letterGap) * style.unitX;
}

std::vector<float> letter_distance_field(std::string_view text, const LetterStyle& style,
                                         float originX, float originY, int width, int height,
                                         float reach) {
    std::vector<float> field(static_cast<std::size_t>(width) * height, reach);
    float penX = originX;
    for (char letter : text) {
        const Glyph* glyph = findGlyph(letter);
        if (glyph != nullptr) {
            // Segments in pixels; the slant leans the top to the right.
            auto toPixels = [&](Point p) {
                return Point{penX + (p.x + style.slant * (6.0f - p.y)) * style.unitX,
                             originY + p.y * style.unitY};
            };
            const float left = penX - reach;
            const float right = penX + (glyph->advance + 6.0f * style.slant) * style.unitX + reach;
            const float top = originY - reach;
            const float bottom = originY + 6.0f * style.unitY + reach;
            for (int y = std::max(0, static_cast<int>(top));
                 y < std::min(height, static_cast<int>(bottom) + 1); ++y) {
                for (int x = std::max(0, static_cast<int>(left));
                     x < std::min(width, static_cast<int>(right) + 1); ++x) {
                    float& nearest = field[static_cast<std::size_t>(y) * width + x];
                    const float px = static_cast<float>(x) + 0.5f;
                    const float py = static_cast<float>(y) + 0.5f;
                    for (const auto& stroke : glyph->strokes) {
                        for (int i = 0; i + 1 < kMaxPoints && stroke[i + 1].x >= 0.0f; ++i) {
                            if (stroke[i].x == stroke[i + 1].x && stroke[i].y == stroke[i + 1].y)
                                continue;
                            nearest = std::min(nearest, segmentDistance(px, py, toPixels(stroke[i]),
                                                                        toPixels(stroke[i + 1])));
                        }
                    }
                }
            }
        }
        penX += (advanceOf(letter) + style.letterGap) * style.unitX;
    }
    return field;
}

float stroke_coverage(float distance, float strokeWidth) {
    return std::clamp(strokeWidth * 0.5f + 0.5f - distance, 0.0f, 1.0f);
}

float LetteredLine::down(int y) const {
    return std::clamp((static_cast<float>(y) + 0.5f - top) / height, 0.0f, 1.0f);
}

LetteredLine lay_letters(std::string_view text, const LetterStyle& style, float centreX, float top, int width,
                         int height, float reach) {
    const float originX = centreX - letter_text_width(text, style) * 0.5f;
    return {width, top, 6.0f * style.unitY, letter_distance_field(text, style, originX, top, width, height, reach)};
}
