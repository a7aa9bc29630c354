#include "support/object_files.h"

#include <fstream>
#include <vector>

#include "framework/framework.h"
#include "support/files.h"

void TempDataFolder::writeFile(const std::filesystem::path& path, std::string_view text) const {
    ::writeFile(path, text);
}

std::string replaced(std::string_view text, std::string_view from, std::string_view to) {
    std::string result(text);
    const std::size_t at = result.find(from);
    if (at != std::string::npos) result.replace(at, from.size(), to);
    return result;
}

bool writeTestBitmap(const std::filesystem::path& path, int width, int height, int fill) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height,
                                     static_cast<std::uint8_t>(fill));
    PaletteEntry palette[256];
    GfxBitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitsPerPixel = 8;
    bitmap.bytesPerLine = width;
    bitmap.pixels = pixels.data();
    return gfx_save_bitmap(path.string(), bitmap, palette);
}
