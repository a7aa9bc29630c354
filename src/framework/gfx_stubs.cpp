// Placeholder bodies; bitmaps and fonts are being written.
#include "framework/framework.h"
int gfx_bitmap_info(std::string_view) { return 0; }
GfxBitmap* gfx_load_bitmap(std::string_view, int) { return nullptr; }
void gfx_free_bitmap(GfxBitmap*) {}
void gfx_put_bitmap(DrawContext*, int, int, const GfxBitmap*, int) {}
GfxFont* gfx_load_font(std::string_view) { return nullptr; }
void gfx_free_font(GfxFont*) {}
void gfx_use_font(GfxFont*) {}
void gfx_set_color(int) {}
int gfx_text_width(std::string_view) { return 0; }
void gfx_draw_text(int, int, std::string_view) {}
void gfx_draw_text_to(DrawContext&, const GfxFont*, int, int, std::string_view, int) {}
int gfx_font_text_width(const GfxFont*, std::string_view) { return 0; }
int gfx_font_height(const GfxFont*) { return 20; }
bool gfx_save_bitmap(const std::string&, const GfxBitmap&, const PaletteEntry*) { return false; }
