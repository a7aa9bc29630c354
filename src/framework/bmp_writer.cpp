#include "framework/bmp_writer.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kHeadersBytes = 14 + 40;
constexpr std::uint32_t kColours = 256;

void put16(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    put16(bytes, value & 0xffff);
    put16(bytes, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> encodeBmp(const GfxBitmap& bitmap,
                                    std::span<const PaletteEntry> palette) {
    if (palette.size() < kColours || !bitmap.pixels || bitmap.bitsPerPixel != 8 ||
        bitmap.width < 1 || bitmap.height < 1 || bitmap.bytesPerLine < bitmap.width) {
        return {};
    }
    const auto width = static_cast<std::uint32_t>(bitmap.width);
    const auto height = static_cast<std::uint32_t>(bitmap.height);
    const std::uint32_t pitch = (width + 3) & ~3u;
    const std::uint32_t dataAt = kHeadersBytes + 4 * kColours;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(dataAt + std::size_t{pitch} * height);
    bytes.push_back('B');
    bytes.push_back('M');
    put32(bytes, dataAt + pitch * height);
    put32(bytes, 0);
    put32(bytes, dataAt);
    put32(bytes, 40);
    put32(bytes, width);
    put32(bytes, height);  // positive: rows bottom-up, as every reader expects
    put16(bytes, 1);
    put16(bytes, 8);
    put32(bytes, 0);  // no compression
    put32(bytes, pitch * height);
    put32(bytes, 2835);  // 72 dots per inch, in dots per metre
    put32(bytes, 2835);
    put32(bytes, kColours);
    put32(bytes, kColours);
    for (std::uint32_t i = 0; i < kColours; ++i) {
        bytes.insert(bytes.end(), {palette[i].blue, palette[i].green, palette[i].red, 0});
    }
    for (std::uint32_t row = height; row-- > 0;) {
        const std::uint8_t* const from =
            bitmap.pixels + static_cast<std::ptrdiff_t>(row) * bitmap.bytesPerLine;
        bytes.insert(bytes.end(), from, from + width);
        bytes.insert(bytes.end(), pitch - width, 0);
    }
    return bytes;
}
