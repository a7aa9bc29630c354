// The maker's side of write_page_png: no PNG library exists for the web
// toolchain, and the page draws pictures itself, so the map and the proof
// sheet are written as binary PPM (P6), which the page reads into a canvas.
#include <cstdio>
#include <memory>
#include <vector>

#include "framework/headless/headless.h"
#include "framework/palette_colours.h"

bool write_page_png(const std::string& path, const std::uint8_t* pixels, const PaletteEntry* palette,
                    int width, int height) {
    if (!pixels || !palette || width < 1 || height < 1) return false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) return false;
    std::fprintf(file.get(), "P6\n%d %d\n255\n", width, height);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        palette_to_rgb({pixels + static_cast<std::size_t>(y) * width, static_cast<std::size_t>(width)}, palette,
                       row.data());
        if (std::fwrite(row.data(), 1, row.size(), file.get()) != row.size()) return false;
    }
    return std::fflush(file.get()) == 0;
}
