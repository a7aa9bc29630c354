#pragma once
// From clipped polygon to pixels: the fan of triangles of a polygon and the
// three triangle rasterizers. Vertices arrive sorted by screen y, top first;
// each rasterizer draws lines top.y .. bottom.y - 1.

#include <cstdint>

#include "geometry/model.h"
#include "render/clipping.h"
#include "render/renderer.h"
#include "render/screen_vertex.h"

// Maze textured faces: paints only pixels still free in the span buffer,
// removes them from it and writes their 1/z for the objects' sake. No depth
// test. Each line covers xs .. xe inclusive when xe > xs.
void rasterizeSpanBuffered(Renderer& r, const ScreenVertex& top, const ScreenVertex& middle,
                           const ScreenVertex& bottom, const std::uint8_t* texture);

// Object textured faces: pixels xs .. xe - 1 when that is at least two,
// each written only where it is strictly nearer than the depth buffer.
void rasterizeDepthTested(Renderer& r, const ScreenVertex& top, const ScreenVertex& middle,
                          const ScreenVertex& bottom, const std::uint8_t* texture);

// Single-colour faces of any model: pixels xs .. xe - 1, strict depth test.
// Never marks the span buffer, so a textured maze face behind it, drawn
// later, paints over it.
void rasterizeFlat(Renderer& r, const ScreenVertex& top, const ScreenVertex& middle,
                   const ScreenVertex& bottom, std::int32_t colour);

// Triangle (1, i + 1, i + 2) of a fan, its vertices sorted by screen y, top
// first; swapping only on strictly less keeps fan order on ties.
struct SortedTriangle {
    const ScreenVertex* top;
    const ScreenVertex* middle;
    const ScreenVertex* bottom;
};
SortedTriangle fanTriangle(const ScreenVertex* vertices, int i);

// Draws a clipped polygon of `model` as the fan (1, i + 1, i + 2). A
// textured face without a bitmap has no texels and is skipped.
void fillPolygon(Renderer& r, Model& model, const ClipPolygon& polygon, RenderMode mode);
