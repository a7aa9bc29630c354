#pragma once
// A rectangle of whole pixels, both corners inclusive; empty when left >
// right or top > bottom.

#include <algorithm>

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    bool empty() const { return left > right || top > bottom; }
    bool containsRow(int y) const { return y >= top && y <= bottom; }
};

inline PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

inline PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// Every pixel a triangle can touch: its rows top.y .. bottom.y - 1 and the
// columns of its vertices, widened by 2 for edge x stepped in floats (an
// edge's x can round just past the vertex it heads for), kept on the page.
inline PixelRect triangleBounds(int x0, int x1, int x2, int top, int bottom) {
    constexpr int kSlack = 2;
    const int left = std::min({x0, x1, x2}) - kSlack;
    const int right = std::max({x0, x1, x2}) + kSlack;
    return {std::max(left, 0), std::max(top, 0), std::min(right, 639), std::min(bottom - 1, 479)};
}
