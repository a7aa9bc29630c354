#pragma once
// A small drawing toolkit for the generated pictures: everything is painted
// in floating-point RGB (0-255 per channel) and only the finished picture is
// ordered-dithered into the game palette's 6x6x6 cube. Painting in RGB lets
// shading, glows and anti-aliased lettering blend freely; the 4x4 Bayer
// dither then spreads the in-between shades over the cube's 51-step levels.
//
// Determinism: no clocks, no random devices; "noise" is an integer hash of
// the pixel position and a seed, so every run writes the same bytes.

#include <cstdint>
#include <vector>

struct Rgb {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
};

Rgb rgb(float red, float green, float blue);
Rgb mix(const Rgb& a, const Rgb& b, float t);  // t = 0 gives a, 1 gives b
Rgb scaled(const Rgb& colour, float factor);
Rgb added(const Rgb& a, const Rgb& b);

// An 8-bit picture in the game palette, rows top first, width bytes a row.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Hash noise in [0, 1) from integer coordinates; the same inputs always give
// the same value.
float hash_noise(int x, int y, int seed);
// Smooth value noise in [0, 1): hash noise on a lattice of the given cell
// size, interpolated with a smoothstep.
float value_noise(float x, float y, int cellSize, int seed);

class RgbCanvas {
public:
    RgbCanvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Rgb get(int x, int y) const;
    void set(int x, int y, const Rgb& colour);
    // Blends colour over the pixel with coverage alpha (0-1); outside: ignored.
    void blend(int x, int y, const Rgb& colour, float alpha);

    // Rectangles take inclusive corners and are clipped to the canvas.
    void fillRect(int left, int top, int right, int bottom, const Rgb& colour);
    void verticalGradient(int left, int top, int right, int bottom, const Rgb& topColour,
                          const Rgb& bottomColour);
    // A bevel of the given thickness inside the rectangle: light on the top
    // and left edges, dark on the bottom and right (swap for a recess). The
    // edges are blended over what is there so texture shows through.
    void bevel(int left, int top, int right, int bottom, int thickness, const Rgb& light,
               const Rgb& dark, float strength);
    // Multiplies the rectangle by 1 + amount * (noise - 0.5), a grain of
    // two octaves of value noise plus a pixel hash.
    void grain(int left, int top, int right, int bottom, float amount, int seed);
    // An anti-aliased disc lit from the top left: a rivet or a gem.
    void rivet(float centreX, float centreY, float radius, const Rgb& colour);
    // An anti-aliased line of the given width.
    void line(float x0, float y0, float x1, float y1, float lineWidth, const Rgb& colour);
    // A soft radial glow added to the picture, fading to nothing at radius.
    void glow(float centreX, float centreY, float radiusX, float radiusY, const Rgb& colour);

    // Ordered dither into the cube. Pixels whose mask entry is set become
    // transparentIndex; with keepWhiteFree, opaque pixels never take index
    // 215 (white), which the menu pictures reserve for transparency.
    IndexedPicture quantise(const std::vector<std::uint8_t>* transparentMask, int transparentIndex,
                            bool keepWhiteFree) const;

private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};
