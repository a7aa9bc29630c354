#include "shell/pictures.h"

#include <cstdio>

OwnedBitmap load_picture_or_die(const char* gamePath, int keepPalette) {
    if (!gfx_bitmap_info(gamePath)) {
        std::fprintf(stderr, "%s: missing or not a bitmap\n", gamePath);
        gfx_fatal_error("Can't find all Bitmaps!");
    }
    OwnedBitmap bitmap(gfx_load_bitmap(gamePath, keepPalette));
    if (!bitmap) {
        std::fprintf(stderr, "%s: unreadable bitmap\n", gamePath);
        gfx_fatal_error("Can't find all Bitmaps!");
    }
    return bitmap;
}
