#pragma once
// The graphics library: bitmaps, fonts and text drawn on a page, clipping.
// File names given to the loaders are game paths ('\' separators, relative
// to the data root): see files.h.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/screen.h"

// Rows are stored top row first whatever their order in the file.
struct GfxBitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;
    std::int32_t bytesPerLine = 0;
    std::uint8_t* pixels = nullptr;
    PaletteEntry* palette = nullptr;  // 256 entries when asked for, else null
    void* pixelFormat = nullptr;      // unused: every bitmap here is 8-bit
};

struct GfxFont;

int gfx_result();
const char* gfx_error_message(int code);
int gfx_bitmap_info(std::string_view file);
GfxBitmap* gfx_load_bitmap(std::string_view file, int keepPalette);
void gfx_free_bitmap(GfxBitmap* bitmap);
void gfx_put_bitmap(DrawContext* context, int x, int y, const GfxBitmap* bitmap, int writeMode);
GfxFont* gfx_load_font(std::string_view file);
void gfx_free_font(GfxFont* font);
void gfx_use_font(GfxFont* font);
void gfx_set_color(int paletteIndex);
int gfx_text_width(std::string_view text);
void gfx_draw_text(int x, int y, std::string_view text);
void gfx_set_clip_rect(int left, int top, int right, int bottom);
void gfx_clear();
void gfx_begin_direct_access();
void gfx_end_direct_access();

// Beyond the game's own needs: the mode dialog draws its own window with the
// font, krvtool check asks which characters it has, and the content tools
// write pictures. Text is decoded as text_decode.h says.
void gfx_draw_text_to(DrawContext& context, const GfxFont* font, int x, int y,
                      std::string_view text, int paletteIndex);
int gfx_font_text_width(const GfxFont* font, std::string_view text);
int gfx_font_height(const GfxFont* font);
// False for a character drawn as the replacement mark, and without a font.
bool gfx_font_has_glyph(const GfxFont* font, char32_t codePoint);
// Writes an 8-bit bitmap with the given 256-entry palette as a Windows BMP at
// a native path; false on failure.
bool gfx_save_bitmap(const std::string& nativePath, const GfxBitmap& bitmap,
                     const PaletteEntry* palette);
