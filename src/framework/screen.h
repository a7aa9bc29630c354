#pragma once
// The screen the game draws on: its size, its palette and the page of
// palette indices.

#include <cstdint>

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kScreenPixels = kScreenWidth * kScreenHeight;

// Blue, green, red, then a byte that is ignored.
struct PaletteEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t unused = 0;
};

// The page the game draws into: 8-bit palette indices, 640 bytes per row.
// Text and bitmap drawing is clipped to the clip rectangle (inclusive).
struct DrawContext {
    std::uint8_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bytesPerLine = 0;
    std::int32_t clipLeft = 0;
    std::int32_t clipTop = 0;
    std::int32_t clipRight = -1;
    std::int32_t clipBottom = -1;
};

// Its first member is the current drawing context; a mode switch may replace
// it, so the game reads it through here each time.
struct FwContext {
    DrawContext* drawContext = nullptr;
};

void fw_set_palette(const PaletteEntry* entries, int count, int first);
void fw_realize_palette(int count, int first, int waitForRetrace);
void fw_swap_buffers(int waitForRetrace);

// The palette as last realized (256 entries); what the screen shows.
const PaletteEntry* fw_current_palette();
