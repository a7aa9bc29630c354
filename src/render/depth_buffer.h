#pragma once
// One float of 1/z per screen pixel: 0 means nothing drawn, larger is
// nearer. The maze writes it for every painted pixel so that the objects,
// drawn afterwards, are hidden behind it.

#include <memory>

#include "framework/framework.h"

class DepthBuffer {
public:
    DepthBuffer();

    // Every entry to 0; the frame does this before any drawing.
    void clear();

    float* row(int y) { return values_.get() + y * kScreenWidth; }
    const float* row(int y) const { return values_.get() + y * kScreenWidth; }
    float at(int x, int y) const { return row(y)[x]; }

private:
    std::unique_ptr<float[]> values_;  // kScreenPixels entries, row y at y * 640
};
