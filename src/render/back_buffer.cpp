#include "render/back_buffer.h"

#include <cstring>

namespace {

// Fixed 64- and 1-byte copies become plain moves; the loops are not turned
// back into a library call.
void copyBytes(std::uint8_t* to, const std::uint8_t* from, std::size_t count) {
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64) std::memcpy(to + i, from + i, 64);
    for (; i < count; ++i) to[i] = from[i];
}

}  // namespace

void copyPage(std::uint8_t* to, const std::uint8_t* from) { copyBytes(to, from, kScreenPixels); }

namespace {

void copyRows(std::uint8_t* to, const std::uint8_t* from, int firstRow, int lastRow) {
    if (lastRow < firstRow) return;
    const std::size_t at = static_cast<std::size_t>(firstRow) * kScreenWidth;
    copyBytes(to + at, from + at, static_cast<std::size_t>(lastRow - firstRow + 1) * kScreenWidth);
}

}  // namespace

void copyPageRun(std::uint8_t* to, const std::uint8_t* from, int row, int first, int last) {
    if (last < first) return;
    const std::size_t at = static_cast<std::size_t>(row) * kScreenWidth + static_cast<std::size_t>(first);
    copyBytes(to + at, from + at, static_cast<std::size_t>(last - first + 1));
}

void copyPageOutside(std::uint8_t* to, const std::uint8_t* from, const PixelRect& hole) {
    const PixelRect inside = intersect(hole, {0, 0, kScreenWidth - 1, kScreenHeight - 1});
    if (inside.empty()) {
        copyPage(to, from);
        return;
    }
    copyRows(to, from, 0, inside.top - 1);
    for (int y = inside.top; y <= inside.bottom; ++y) {
        copyPageRun(to, from, y, 0, inside.left - 1);
        copyPageRun(to, from, y, inside.right + 1, kScreenWidth - 1);
    }
    copyRows(to, from, inside.bottom + 1, kScreenHeight - 1);
}

void copyPageInside(std::uint8_t* to, const std::uint8_t* from, const PixelRect& hole) {
    const PixelRect inside = intersect(hole, {0, 0, kScreenWidth - 1, kScreenHeight - 1});
    if (inside.empty()) return;
    for (int y = inside.top; y <= inside.bottom; ++y) copyPageRun(to, from, y, inside.left, inside.right);
}
