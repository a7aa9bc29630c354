#pragma once
// A bitmap from gfx_load_bitmap that frees itself with gfx_free_bitmap. One
// definition for everything that holds bitmaps (the shell's pictures, the
// texture list), so their headers can meet in one file.

#include <memory>

#include "framework/graphics.h"

struct BitmapDeleter {
    void operator()(GfxBitmap* bitmap) const { gfx_free_bitmap(bitmap); }
};
using OwnedBitmap = std::unique_ptr<GfxBitmap, BitmapDeleter>;
