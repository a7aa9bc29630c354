#pragma once
// Pictures from outside the game: any PNG, JPEG or BMP a teacher has (decoded
// by SDL_image, so the files that image editors write by default all load;
// in the quiz maker page the browser decodes them) made into a game picture.
// The steps are separate so that the content build can paint over a loaded
// picture before it is dithered:
//
//   load_picture_file  -> RgbCanvas (alpha laid over black); sdl/picture_file.cpp
//                         (the quiz maker page: tools/maker/picture_input.cpp)
//   canvas_from_rgba   -> the same from decoded 8-bit R, G, B, A pixels
//   crop_canvas, resize_canvas
//   dither_to_palette  -> IndexedPicture in the game palette
//   save_indexed_picture -> 8-bit BMP with the game palette

#include <cstdint>
#include <optional>
#include <string>

#include "pictures/canvas.h"

// The largest picture the game can show whole: its screen.
constexpr int kMaxPictureWidth = 640;
constexpr int kMaxPictureHeight = 480;
// Textures are 256 by 256.
constexpr int kTextureSize = 256;

// Far beyond any picture a quiz needs, and small enough that a corrupt
// header's size cannot make the float copy exhaust memory.
constexpr long long kMaxSourcePixels = 64LL * 1024 * 1024;

// Decodes a picture file; on failure `error` says why (no file, not a picture).
std::optional<RgbCanvas> load_picture_file(const std::string& path, std::string& error);
// Rows of `pitch` bytes, 4 a pixel; `name` is the picture's file for `error`.
std::optional<RgbCanvas> canvas_from_rgba(const std::uint8_t* rgba, int width, int height,
                                         int pitch, const std::string& name, std::string& error);

// The rectangle (clipped to the canvas) as a canvas of its own.
RgbCanvas crop_canvas(const RgbCanvas& source, int left, int top, int width, int height);
// Resampled to width by height: averaged over the covered source pixels when
// shrinking (no aliasing sparkle in fine detail), interpolated when growing.
RgbCanvas resize_canvas(const RgbCanvas& source, int width, int height);
// The largest centred square, scaled to a texture.
RgbCanvas texture_from_canvas(const RgbCanvas& source);
// Scaled down to fit the screen keeping its shape; smaller pictures as they are.
RgbCanvas fit_to_screen(const RgbCanvas& source);

// Floyd-Steinberg error diffusion into the 6x6x6 cube, rows in alternate
// directions. Unlike the ordered dither of the drawn pictures it keeps
// photographs' soft gradients free of a visible pattern.
IndexedPicture dither_to_palette(const RgbCanvas& canvas);

// Writes an 8-bit BMP with the game palette; says what failed on stderr.
bool save_indexed_picture(const std::string& path, const IndexedPicture& picture);
