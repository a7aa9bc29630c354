#include "shell/pictures.h"

#include <cstdio>

#include "framework/framework.h"
#include "framework/gfx_errors.h"

namespace {

[[noreturn]] void pictureFailure(const char* gamePath) {
    std::fprintf(stderr, "%s: %s\n", gamePath, gfx_bitmap_problem().c_str());
    gfx_fatal_error("Can't find all Bitmaps!");
}

}  // namespace

OwnedBitmap load_picture_or_die(const char* gamePath, int keepPalette) {
    if (!gfx_bitmap_info(gamePath)) pictureFailure(gamePath);
    OwnedBitmap bitmap(gfx_load_bitmap(gamePath, keepPalette));
    if (!bitmap) pictureFailure(gamePath);
    return bitmap;
}
