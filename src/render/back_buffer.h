#pragma once
// The page being drawn: 640 x 480 palette indices, rows exactly 640 bytes
// apart (the rasterizers never ask for a pitch). Borrowed from the drawing
// context each frame; the renderer never owns it.

#include <cstdint>

#include "framework/screen.h"
#include "render/pixel_rect.h"

struct BackBuffer {
    std::uint8_t* pixels = nullptr;

    std::uint8_t* row(int y) const { return pixels + y * kScreenWidth; }
};

// Copies a whole 640 x 480 picture onto the page (the frame's background).
// A plain 16-byte copy loop rather than the C library's block copy: some
// processors copy a block many times slower when the two addresses are a
// few bytes apart modulo 4096, which the page and a loaded picture can be.
void copyPage(std::uint8_t* to, const std::uint8_t* from);

// The same for the pixels first .. last of one row (none when last <
// first), for the part of the picture outside `hole`, and for the part
// inside it: the last two together copy the whole picture.
void copyPageRun(std::uint8_t* to, const std::uint8_t* from, int row, int first, int last);
void copyPageOutside(std::uint8_t* to, const std::uint8_t* from, const PixelRect& hole);
void copyPageInside(std::uint8_t* to, const std::uint8_t* from, const PixelRect& hole);
