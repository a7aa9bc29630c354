#pragma once
// A page of palette indices of any size, for the pictures the proof tools
// write (the map, the proof sheet): rectangles, lines, discs, copies of game
// pages and text in the game's font, then one PNG through the frame writer.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/graphics.h"

class IndexedCanvas {
public:
    IndexedCanvas(int width, int height, std::uint8_t background);

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint8_t at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, std::uint8_t colour) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[index(x, y)] = colour;
    }

    // Inclusive corners, clipped to the page.
    void fillRect(int left, int top, int right, int bottom, std::uint8_t colour);
    void frameRect(int left, int top, int right, int bottom, std::uint8_t colour,
                   int thickness = 1);
    // Every `dash` pixels on, `dash` off.
    void dashedRect(int left, int top, int right, int bottom, std::uint8_t colour, int dash);
    void line(int x0, int y0, int x1, int y1, std::uint8_t colour);
    void disc(int centreX, int centreY, int radius, std::uint8_t colour);
    void ring(int centreX, int centreY, int radius, std::uint8_t colour);
    // A width x height block of indices (rows of `width`), at (x, y).
    void copy(int x, int y, int width, int height, std::span<const std::uint8_t> source);
    // Text in `font` with its top left at (x, y), cut at the clip box
    // (inclusive; the whole page when not given).
    void text(const GfxFont* font, int x, int y, std::string_view text, std::uint8_t colour);
    void text(const GfxFont* font, int x, int y, std::string_view text, std::uint8_t colour,
              int clipLeft, int clipRight);

    // The page as an RGB PNG in `palette` (256 entries); false on failure.
    bool writePng(const std::string& path, const PaletteEntry* palette) const;

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};
