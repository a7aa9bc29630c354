#include "framework/web_start_screen.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr int kPictureWidth = 231;
constexpr int kPictureHeight = 272;
constexpr int kGap = 24;
constexpr int kLineSpacing = 20;  // as the game spaces its own text lines

// The desktop dialog's lines: Return (or a click) starts, Esc ends the game.
constexpr std::array<std::string_view, 3> kLines = {
    "Press RETURN to enter the maze",
    "Press ESC to exit.",
    "ESC during the Intro will start the game",
};

}  // namespace

void draw_start_screen(DrawContext& page, const ModeDialogLook& look) {
    std::fill_n(page.pixels, static_cast<std::size_t>(page.bytesPerLine) * page.height,
                static_cast<std::uint8_t>(look.background));
    GfxBitmap* picture = look.titlePicture.empty() ? nullptr : gfx_load_bitmap(look.titlePicture, 1);
    GfxFont* font = look.font.empty() ? nullptr : gfx_load_font(look.font);
    gfx_result();  // a missing file is drawn around, not reported later

    const int spacing = font ? std::max(kLineSpacing, gfx_font_height(font)) : kLineSpacing;
    int textWidth = 0;
    if (font) {
        for (std::string_view line : kLines)
            textWidth = std::max(textWidth, gfx_font_text_width(font, line));
    }
    // The dialog's picture and lines, stacked: side by side the lines would
    // not fit beside the picture on a 640-pixel page.
    const int textHeight = textWidth > 0 ? kGap + spacing * static_cast<int>(kLines.size()) : 0;
    const int top = std::max(0, (page.height - kPictureHeight - textHeight) / 2);
    if (picture && picture->bitsPerPixel == 8)
        gfx_put_bitmap(&page, (page.width - kPictureWidth) / 2, top, picture, 0);
    if (textWidth > 0) {
        const int left = std::max(0, (page.width - textWidth) / 2);
        int y = top + kPictureHeight + kGap;
        for (std::string_view line : kLines) {
            gfx_draw_text_to(page, font, left, y, line, look.textColour);
            y += spacing;
        }
    }
    gfx_free_font(font);
    gfx_free_bitmap(picture);
}
