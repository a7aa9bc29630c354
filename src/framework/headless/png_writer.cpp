// Pages as PNG files: the palette is applied here, so the picture shows what
// the screen showed, in plain RGB that any viewer and any diff tool reads.

#include <png.h>

#include <cstdint>
#include <vector>

#include "framework/headless/headless.h"
#include "framework/palette_colours.h"

bool write_page_png(const std::string& path, const std::uint8_t* pixels,
                    const PaletteEntry* palette, int width, int height) {
    if (!pixels || !palette || width < 1 || height < 1) return false;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    palette_to_rgb({pixels, static_cast<std::size_t>(width) * height}, palette, rgb.data());
    // The simplified interface reports errors in the image record instead of
    // jumping out through setjmp, which would skip C++ destructors.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const bool written =
        png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr) != 0;
    png_image_free(&image);
    return written;
}
