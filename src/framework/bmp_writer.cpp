#include "framework/bmp_writer.h"

#include <algorithm>

#include "framework/little_endian.h"

namespace {

constexpr std::uint32_t kHeadersBytes = 14 + 40;
constexpr std::uint32_t kColours = 256;

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
    append_le32(bytes, dataAt + pitch * height);
    append_le32(bytes, 0);
    append_le32(bytes, dataAt);
    append_le32(bytes, 40);
    append_le32(bytes, width);
    append_le32(bytes, height);  // positive: rows bottom-up, as every reader expects
    append_le16(bytes, 1);
    append_le16(bytes, 8);
    append_le32(bytes, 0);  // no compression
    append_le32(bytes, pitch * height);
    append_le32(bytes, 2835);  // 72 dots per inch, in dots per metre
    append_le32(bytes, 2835);
    append_le32(bytes, kColours);
    append_le32(bytes, kColours);
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
