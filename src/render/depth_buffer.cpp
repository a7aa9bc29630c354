#include "render/depth_buffer.h"

#include <algorithm>

// make_unique value-initialises: every entry starts at 0.0.
DepthBuffer::DepthBuffer() : values_(std::make_unique<float[]>(kScreenPixels)) {}

void DepthBuffer::clear() {
    const PixelRect area = intersect(written_, {0, 0, kScreenWidth - 1, kScreenHeight - 1});
    if (!area.empty()) {
        const int width = area.right - area.left + 1;
        for (int y = area.top; y <= area.bottom; ++y) std::fill_n(row(y) + area.left, width, 0.0f);
    }
    written_ = PixelRect{};
}
