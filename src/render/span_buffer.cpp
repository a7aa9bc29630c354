#include "render/span_buffer.h"

#include "framework/fatal.h"

SpanBuffer::SpanBuffer() : lines_(std::make_unique<SpanLine[]>(kScreenHeight)) { reset(); }

void SpanBuffer::reset() {
    for (int y = 0; y < kScreenHeight; ++y) lines_[y].reset();
    filledLines_ = 0;
}

void spanTableExhausted() { gfx_fatal_error("Too many spans in one scanline!!"); }
