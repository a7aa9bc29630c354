#pragma once
// The game's textures, made procedurally: 256 by 256 texels, 8 bits, indices
// into the game palette's 6x6x6 colour cube. Every pattern is periodic over
// 256 texels in both directions and the colours are dithered with an 8x8
// ordered matrix, which repeats 32 times across a texture, so the textures
// tile without seams (the renderer wraps texture coordinates at 256).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kTextureSize = 256;

struct TextureImage {
    std::string name;  // also the file's stem: name + ".bmp"
    std::vector<std::uint8_t> texels;  // row after row, top row first
};

// The names of every texture the toolkit makes, in a fixed order.
const std::vector<std::string>& texture_names();

// Makes one texture by name; false for an unknown name.
bool make_texture(const std::string& name, TextureImage& image);

// Ordered dithering of one 8-bit colour at a texel into the colour cube.
int dither_to_cube(double red, double green, double blue, int x, int y);

// Writes every texture as NAME.bmp into a folder; false with a message.
bool write_textures(const std::string& folder, std::string& error);
