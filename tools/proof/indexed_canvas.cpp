#include "proof/indexed_canvas.h"

#include <algorithm>
#include <cstdlib>

#include "framework/headless/headless.h"

IndexedCanvas::IndexedCanvas(int width, int height, std::uint8_t background)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), background) {}

void IndexedCanvas::fillRect(int left, int top, int right, int bottom, std::uint8_t colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_ - 1);
    bottom = std::min(bottom, height_ - 1);
    for (int y = top; y <= bottom; ++y) {
        std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(index(left, y)),
                    std::max(right - left + 1, 0), colour);
    }
}

void IndexedCanvas::frameRect(int left, int top, int right, int bottom, std::uint8_t colour,
                              int thickness) {
    for (int t = 0; t < thickness; ++t) {
        fillRect(left + t, top + t, right - t, top + t, colour);
        fillRect(left + t, bottom - t, right - t, bottom - t, colour);
        fillRect(left + t, top + t, left + t, bottom - t, colour);
        fillRect(right - t, top + t, right - t, bottom - t, colour);
    }
}

void IndexedCanvas::dashedRect(int left, int top, int right, int bottom, std::uint8_t colour,
                               int dash) {
    const auto on = [&](int i) { return (i / dash) % 2 == 0; };
    for (int x = left; x <= right; ++x) {
        if (!on(x - left)) continue;
        set(x, top, colour);
        set(x, bottom, colour);
    }
    for (int y = top; y <= bottom; ++y) {
        if (!on(y - top)) continue;
        set(left, y, colour);
        set(right, y, colour);
    }
}

void IndexedCanvas::line(int x0, int y0, int x1, int y1, std::uint8_t colour) {
    // Bresenham: every step moves one pixel along the longer axis.
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x0 += sx;
        }
        if (doubled <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void IndexedCanvas::disc(int centreX, int centreY, int radius, std::uint8_t colour) {
    for (int y = -radius; y <= radius; ++y) {
        for (int x = -radius; x <= radius; ++x) {
            if (x * x + y * y <= radius * radius + radius) set(centreX + x, centreY + y, colour);
        }
    }
}

void IndexedCanvas::ring(int centreX, int centreY, int radius, std::uint8_t colour) {
    const int outer = radius * radius + radius;
    const int inner = (radius - 1) * (radius - 1) + (radius - 1);
    for (int y = -radius; y <= radius; ++y) {
        for (int x = -radius; x <= radius; ++x) {
            const int d = x * x + y * y;
            if (d <= outer && d > inner) set(centreX + x, centreY + y, colour);
        }
    }
}

void IndexedCanvas::copy(int x, int y, int width, int height,
                         std::span<const std::uint8_t> source) {
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const std::size_t from = static_cast<std::size_t>(row) * width + column;
            if (from < source.size()) set(x + column, y + row, source[from]);
        }
    }
}

void IndexedCanvas::text(const GfxFont* font, int x, int y, std::string_view text,
                         std::uint8_t colour) {
    this->text(font, x, y, text, colour, 0, width_ - 1);
}

void IndexedCanvas::text(const GfxFont* font, int x, int y, std::string_view text,
                         std::uint8_t colour, int clipLeft, int clipRight) {
    DrawContext context;
    context.pixels = pixels_.data();
    context.width = width_;
    context.height = height_;
    context.bytesPerLine = width_;
    context.clipLeft = clipLeft;
    context.clipTop = 0;
    context.clipRight = clipRight;
    context.clipBottom = height_ - 1;
    gfx_draw_text_to(context, font, x, y, text, colour);
}

bool IndexedCanvas::writePng(const std::string& path, const PaletteEntry* palette) const {
    return write_page_png(path, pixels_.data(), palette, width_, height_);
}
