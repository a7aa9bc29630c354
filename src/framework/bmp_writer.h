#pragma once
// Writing an 8-bit picture as a Windows BMP file: the plain form every tool
// reads (40-byte header, 256 colours, rows bottom-up, each padded to four
// bytes), made in memory so that no platform code is needed.

#include <cstdint>
#include <span>
#include <vector>

#include "framework/graphics.h"

// The file's bytes; empty when the bitmap is not an 8-bit one with pixels
// or the palette has fewer than 256 entries.
std::vector<std::uint8_t> encodeBmp(const GfxBitmap& bitmap, std::span<const PaletteEntry> palette);
