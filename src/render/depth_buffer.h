#pragma once
// One float of 1/z per screen pixel: 0 means nothing drawn, larger is
// nearer. The maze writes it where something depth-tested may be drawn
// later, so that the objects, drawn afterwards, are hidden behind it.

#include <memory>

#include "framework/screen.h"
#include "render/pixel_rect.h"

class DepthBuffer {
public:
    DepthBuffer();

    // Every entry to 0; the frame does this before any drawing. Entries
    // outside the area marked since the last clear are still 0, so only
    // that area is zeroed.
    void clear();

    // Whoever writes entries marks them first (a rectangle around them);
    // an unmarked write would survive the next clear.
    void markWritten(const PixelRect& area) { written_ = unite(written_, area); }
    const PixelRect& written() const { return written_; }

    float* row(int y) { return values_.get() + y * kScreenWidth; }
    const float* row(int y) const { return values_.get() + y * kScreenWidth; }
    float at(int x, int y) const { return row(y)[x]; }

private:
    std::unique_ptr<float[]> values_;  // kScreenPixels entries, row y at y * 640
    PixelRect written_;                // empty: all entries 0
};
