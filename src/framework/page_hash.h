#pragma once
// One number for a whole presented page: the 640x480 palette indices and the
// 256 palette colours (red, green, blue each). Two runs that show the same
// picture give the same number on every backend, so a browser run can be
// held to a headless one without moving pictures around.

#include <cstdint>
#include <string>

#include "framework/screen.h"

// FNV-1a (64 bit) over the indices, then red, green, blue of each colour.
std::uint64_t page_hash(const std::uint8_t* pixels, const PaletteEntry* palette);
// The hash as 16 lower-case hex digits, the form both sides write.
std::string page_hash_text(std::uint64_t hash);
