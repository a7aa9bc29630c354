#pragma once
// A page of palette indices as the colours a screen, a texture or a picture
// file takes: one rule for every backend and writer, so they all show what
// the game's palette says.

#include <cstddef>
#include <cstdint>
#include <span>

#include "framework/screen.h"

// Opaque 0xAARRGGBB, the layout of an ARGB8888 texture.
inline std::uint32_t palette_argb(const PaletteEntry& entry) {
    return 0xFF000000u | (std::uint32_t{entry.red} << 16) | (std::uint32_t{entry.green} << 8) |
           std::uint32_t{entry.blue};
}

// Red, green, blue bytes per pixel into `out`, and an opaque alpha byte after
// them when BytesPerPixel is 4; `out` holds pixels.size() * BytesPerPixel.
// The byte count is fixed at compile time: the browser converts every frame.
template <int BytesPerPixel = 3>
void palette_to_rgb(std::span<const std::uint8_t> pixels, const PaletteEntry* palette,
                    std::uint8_t* out) {
    static_assert(BytesPerPixel == 3 || BytesPerPixel == 4);
    for (const std::uint8_t index : pixels) {
        const PaletteEntry& entry = palette[index];
        out[0] = entry.red;
        out[1] = entry.green;
        out[2] = entry.blue;
        if constexpr (BytesPerPixel == 4) out[3] = 255;
        out += BytesPerPixel;
    }
}
