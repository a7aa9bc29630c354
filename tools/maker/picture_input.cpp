// Pictures in the quiz maker page: the browser decodes the teacher's PNG,
// JPEG or BMP files (the page has no SDL), and the worker writes each one
// where the quiz file names it as decoded pixels: "KRVRGBA1", the width and
// the height as 32-bit little-endian numbers, then the R, G, B, A bytes.
// A file the browser could not decode is left as it was and refused here.
#include <cstring>
#include <span>

#include "framework/files.h"
#include "framework/little_endian.h"
#include "pictures/picture_import.h"

namespace {

constexpr char kMagic[8] = {'K', 'R', 'V', 'R', 'G', 'B', 'A', '1'};
constexpr std::size_t kHeader = sizeof kMagic + 8;

int readNumber(std::span<const std::uint8_t> bytes, std::size_t at) {
    const std::uint32_t value = read_le32(bytes, at);
    return value > 0x7fffffffu ? 0 : static_cast<int>(value);
}

}  // namespace

std::optional<RgbCanvas> load_picture_file(const std::string& path, std::string& error) {
    std::string text;
    if (!fw_read_whole_file(path, text)) {
        error = path + ": cannot read the picture (no such file: add it beside the questions)";
        return std::nullopt;
    }
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    if (bytes.size() < kHeader || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        error = path + ": cannot read the picture (the browser cannot decode it)";
        return std::nullopt;
    }
    const int width = readNumber(bytes, 8);
    const int height = readNumber(bytes, 12);
    if (width < 1 || height < 1 || static_cast<long long>(width) * height > kMaxSourcePixels ||
        bytes.size() - kHeader != static_cast<std::size_t>(width) * height * 4) {
        error = path + ": cannot read the picture (its pixels are cut short)";
        return std::nullopt;
    }
    return canvas_from_rgba(bytes.data() + kHeader, width, height, width * 4, path, error);
}
