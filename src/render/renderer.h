#pragma once
// The renderer's frame-wide state: the page being drawn, the depth buffer,
// the span buffer and the clipper's scratch. One instance lives for the
// whole run; the frame resets the span buffer and clears the depth buffer
// before any drawing, and points backBuffer at the page.

#include "render/back_buffer.h"
#include "render/clipping.h"
#include "render/depth_buffer.h"
#include "render/pixel_rect.h"
#include "render/span_buffer.h"

// How a model's textured faces are drawn: the maze through the span buffer,
// front to back and without a depth test; objects against the depth buffer.
// Single-colour faces are depth-tested in both modes.
enum class RenderMode {
    Maze = 0,
    Object = 1,
};

// Every pixel a triangle can cover: vertices are kept to x 10..630 and
// y 10..400, and the last column and row of a triangle are not drawn.
inline constexpr PixelRect kViewArea{10, 10, 629, 399};

struct Renderer {
    BackBuffer backBuffer;
    DepthBuffer depthBuffer;
    SpanBuffer spanBuffer;
    ClipScratch clip;
    // Where the maze's textured pixels leave their 1/z. Only depth-tested
    // drawing reads it, so renderScene narrows it, while the maze is drawn,
    // to where such drawing can land; outside, the maze writes no depth.
    PixelRect mazeDepthArea = kViewArea;

    // Whether the maze has claimed every pixel of the view: from then on no
    // textured maze face can paint (or leave depth) anywhere. Only the
    // view's lines are ever claimed: vertices are kept inside it.
    bool viewFull() const {
        return spanBuffer.filledLines() >= kViewArea.bottom - kViewArea.top + 1;
    }

    // The 640 x 480 picture behind everything this frame, or none, and
    // whether its part inside the view is still to be laid.
    const std::uint8_t* background = nullptr;
    bool viewBackgroundPending = false;

    // What the frame does first: every line free again, every depth 0, the
    // page to draw into this frame, and the background laid outside the
    // view. Its view part waits for renderScene, which lays it only where
    // the maze leaves pixels free when that gives the same picture, or for
    // layViewBackground.
    void beginFrame(std::uint8_t* pagePixels, const std::uint8_t* backgroundPixels = nullptr) {
        spanBuffer.reset();
        depthBuffer.clear();
        backBuffer.pixels = pagePixels;
        background = backgroundPixels;
        viewBackgroundPending = backgroundPixels != nullptr;
        if (backgroundPixels) copyPageOutside(pagePixels, backgroundPixels, kViewArea);
    }

    // Lays the background's view part now, if it is still waiting.
    void layViewBackground() {
        if (!viewBackgroundPending) return;
        copyPageInside(backBuffer.pixels, background, kViewArea);
        viewBackgroundPending = false;
    }
};
