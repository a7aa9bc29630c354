#pragma once
// Walking a triangle's two sides down the screen, one line at a time, with
// x, u/z, v/z and 1/z linear along each edge. Shared by the three
// rasterizers.

#include <cstdint>

#include "framework/graphics.h"
#include "render/screen_vertex.h"

struct EdgeStepper {
    // (bottom, top) with index 1 for a side of one edge, (bottom, middle,
    // top) with index 2 for a side of two; the current edge runs from
    // stack[index] down to stack[index - 1].
    const ScreenVertex* stack[3] = {};
    int index = 0;
    float x = 0.0f;
    float xStep = 0.0f;
    float uw = 0.0f;
    float uwStep = 0.0f;
    float vw = 0.0f;
    float vwStep = 0.0f;
    float w = 0.0f;
    float wStep = 0.0f;
    int linesLeft = 0;

    // Starts the current edge exactly at its upper vertex (no sub-line
    // pre-step); returns its height in lines, 0 for a horizontal edge (then
    // nothing else changes).
    int setup();

    // Moves to the next line; false when the side has no edge left.
    bool advance() {
        if (--linesLeft > 0) {
            x += xStep;
            uw += uwStep;
            vw += vwStep;
            w += wStep;
            return true;
        }
        --index;
        return index != 0 && setup() != 0;
    }
};

// setupLeftEdge and setupRightEdge are one operation on either side.
inline int setupLeftEdge(EdgeStepper& left) { return left.setup(); }
inline int setupRightEdge(EdgeStepper& right) { return right.setup(); }

// Sets up a triangle sorted by y (top first) and calls drawLine(y, left,
// right) for lines top.y .. bottom.y - 1. A triangle with no area or no
// height draws nothing and takes no direct access to the page.
template <typename DrawLine>
void walkTriangle(const ScreenVertex& top, const ScreenVertex& middle, const ScreenVertex& bottom,
                  DrawLine&& drawLine) {
    const int c = (top.y - bottom.y) * (middle.x - top.x) + (middle.y - top.y) * (bottom.x - top.x);
    if (c == 0) return;
    EdgeStepper single;
    single.stack[0] = &bottom;
    single.stack[1] = &top;
    single.index = 1;
    EdgeStepper twoEdges;
    twoEdges.stack[0] = &bottom;
    twoEdges.stack[1] = &middle;
    twoEdges.stack[2] = &top;
    twoEdges.index = 2;
    if (single.setup() == 0) return;
    if (twoEdges.setup() == 0) {
        // Flat top: start straight on middle -> bottom.
        twoEdges.index = 1;
        if (twoEdges.setup() == 0) return;
    }
    // c < 0: the middle vertex is on the right, so the single edge is left.
    EdgeStepper& left = c < 0 ? single : twoEdges;
    EdgeStepper& right = c < 0 ? twoEdges : single;

    gfx_begin_direct_access();
    for (int y = top.y;; ++y) {
        drawLine(y, left, right);
        if (!left.advance() || !right.advance()) break;
    }
    gfx_end_direct_access();
}
