#pragma once
// The page being drawn: 640 x 480 palette indices, rows exactly 640 bytes
// apart (the rasterizers never ask for a pitch). Borrowed from the drawing
// context each frame; the renderer never owns it.

#include <cstdint>

#include "framework/framework.h"

struct BackBuffer {
    std::uint8_t* pixels = nullptr;

    std::uint8_t* row(int y) const { return pixels + y * kScreenWidth; }
};
