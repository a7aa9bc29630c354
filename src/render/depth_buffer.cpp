#include "render/depth_buffer.h"

#include <cstring>

DepthBuffer::DepthBuffer() : values_(std::make_unique<float[]>(kScreenPixels)) {}

// All-zero bytes are the float 0.0, so a block fill is exact.
void DepthBuffer::clear() { std::memset(values_.get(), 0, sizeof(float) * kScreenPixels); }
