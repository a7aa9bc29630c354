#include "render/rasterizers.h"

#include <utility>

#include "render/edge_stepper.h"
#include "render/pixel_rect.h"
#include "render/projection.h"
#include "render/texture_span.h"

namespace {

// Steps across a line of n intervals between the two sides' values.
LineGradients lineGradients(const EdgeStepper& left, const EdgeStepper& right, int n) {
    const float span = static_cast<float>(n);
    LineGradients g;
    g.uw = left.uw;
    g.vw = left.vw;
    g.w = left.w;
    g.duw = (right.uw - left.uw) / span;
    g.dvw = (right.vw - left.vw) / span;
    g.dw = (right.w - left.w) / span;
    return g;
}

}  // namespace

void rasterizeSpanBuffered(Renderer& r, const ScreenVertex& top, const ScreenVertex& middle,
                           const ScreenVertex& bottom, const std::uint8_t* texture) {
    const PixelRect bounds = triangleBounds(top.x, middle.x, bottom.x, top.y, bottom.y);
    // Most of the maze lies behind nearer walls: skip it whole.
    if (!r.spanBuffer.anyFree(bounds)) return;
    const PixelRect depthArea = intersect(r.mazeDepthArea, bounds);
    if (!depthArea.empty()) r.depthBuffer.markWritten(depthArea);
    walkTriangle(top, middle, bottom, [&](int y, const EdgeStepper& left, const EdgeStepper& right) {
        const int xs = static_cast<int>(left.x);
        const int xe = static_cast<int>(right.x);
        if (xe - xs <= 0) return;
        std::uint8_t* const pixels = r.backBuffer.row(y);
        float* const depths = depthArea.containsRow(y) ? r.depthBuffer.row(y) : nullptr;
        // Worked out at the first free run only: behind nearer walls most
        // lines find none, and the three divides are the line's dearest work.
        LineGradients g;
        bool haveGradients = false;
        r.spanBuffer.claim(y, xs, xe, [&](int first, int last) {
            if (!haveGradients) {
                // n = xe - xs so that the pixel at xe carries the right edge's values.
                g = lineGradients(left, right, xe - xs);
                haveGradients = true;
            }
            paintTextureRun(pixels + first, texture, g, first - xs, last - first + 1);
            if (depths) {
                writeDepthRun(depths, g, first - xs, first, last, depthArea.left, depthArea.right);
            }
        });
    });
}

void rasterizeDepthTested(Renderer& r, const ScreenVertex& top, const ScreenVertex& middle,
                          const ScreenVertex& bottom, const std::uint8_t* texture) {
    r.depthBuffer.markWritten(triangleBounds(top.x, middle.x, bottom.x, top.y, bottom.y));
    walkTriangle(top, middle, bottom, [&](int y, const EdgeStepper& left, const EdgeStepper& right) {
        const int xs = static_cast<int>(left.x);
        const int xe = static_cast<int>(right.x);
        // n = xe - 1 - xs: the first pixel carries the left edge's values and
        // the last (xe - 1) the right edge's; needs at least two pixels.
        const int n = xe - 1 - xs;
        if (n <= 0) return;
        const LineGradients g = lineGradients(left, right, n);
        std::uint8_t* const p = r.backBuffer.row(y) + xs;
        float* const d = r.depthBuffer.row(y) + xs;
        mapTextureRun(texture, g, 0, n + 1, [&](int i, std::uint8_t texel, float depth) {
            // Strict: on equal 1/z the surface drawn first stays.
            if (d[i] < depth) {
                p[i] = texel;
                d[i] = depth;
            }
        });
    });
}

void rasterizeFlat(Renderer& r, const ScreenVertex& top, const ScreenVertex& middle,
                   const ScreenVertex& bottom, std::int32_t colour) {
    const auto index = static_cast<std::uint8_t>(colour & 0xFF);
    r.depthBuffer.markWritten(triangleBounds(top.x, middle.x, bottom.x, top.y, bottom.y));
    walkTriangle(top, middle, bottom, [&](int y, const EdgeStepper& left, const EdgeStepper& right) {
        const int xs = static_cast<int>(left.x);
        const int xe = static_cast<int>(right.x);
        const int n = xe - xs;
        if (n <= 0) return;
        const float dw = (right.w - left.w) / static_cast<float>(n);
        std::uint8_t* const p = r.backBuffer.row(y) + xs;
        float* const d = r.depthBuffer.row(y) + xs;
        float depth = left.w;
        for (int i = 0; i < n; ++i) {
            if (d[i] < depth) {
                p[i] = index;
                d[i] = depth;
            }
            depth += dw;
        }
    });
}

SortedTriangle fanTriangle(const ScreenVertex* vertices, int i) {
    const ScreenVertex* t0 = &vertices[1];
    const ScreenVertex* t1 = &vertices[i + 1];
    const ScreenVertex* t2 = &vertices[i + 2];
    if (t1->y < t0->y) std::swap(t0, t1);
    if (t2->y < t1->y) {
        std::swap(t1, t2);
        if (t1->y < t0->y) std::swap(t0, t1);
    }
    return {t0, t1, t2};
}

void fillPolygon(Renderer& r, Model& model, const ClipPolygon& polygon, RenderMode mode) {
    if (polygon.count < 3) return;
    if (polygon.face < 1 || polygon.face > model.faceCount) return;
    const Face& face = model.faces[polygon.face];
    const std::uint8_t* texture = nullptr;
    if (face.textured()) {
        if (!face.bitmap || !face.bitmap->pixels) return;
        texture = face.bitmap->pixels;
    }

    // Model points are projected at most once per draw; points the clipper
    // made are projected here, once per polygon.
    ScreenVertex vertices[kClipCapacity];
    for (int i = 1; i <= polygon.count; ++i) {
        const int index = polygon.pointIndices[i];
        Vec3 projected;
        if (polygon.fromPool[i]) {
            projected = projectPoint(r.clip.pool.points[index]);
        } else {
            if (!model.projectedFlags[index]) {
                model.projectedPoints[index] = projectPoint(model.viewPoints[index]);
                model.projectedFlags[index] = 1;
            }
            projected = model.projectedPoints[index];
        }
        vertices[i] = makeScreenVertex(projected, polygon.texCoords[i]);
    }

    for (int i = 1; i <= polygon.count - 2; ++i) {
        const auto [t0, t1, t2] = fanTriangle(vertices, i);
        if (!texture) {
            rasterizeFlat(r, *t0, *t1, *t2, face.colour);
        } else if (mode == RenderMode::Object) {
            rasterizeDepthTested(r, *t0, *t1, *t2, texture);
        } else {
            rasterizeSpanBuffered(r, *t0, *t1, *t2, texture);
        }
    }
}
