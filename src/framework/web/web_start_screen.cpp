#include "framework/web/web_start_screen.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "framework/graphics.h"

namespace {

constexpr int kGap = 24;
constexpr int kLineSpacing = 20;  // as the game spaces its own text lines

// The quiz's picture when it names one that loads, else the game's.
GfxBitmap* loadPicture(const ModeDialogLook& look, const PageText& words) {
    if (!words.picture.empty()) {
        const std::string path = "Pics\\" + words.picture;
        GfxBitmap* picture = gfx_load_bitmap(path, 1);
        if (picture && picture->bitsPerPixel == 8) return picture;
        gfx_free_bitmap(picture);
        std::fprintf(stderr, "%s: picture: %s is no 8-bit picture that loads; the start screen "
                     "shows the game's title picture\n", kPageTextPath, path.c_str());
    }
    if (look.titlePicture.empty()) return nullptr;
    GfxBitmap* picture = gfx_load_bitmap(look.titlePicture, 1);
    if (picture && picture->bitsPerPixel == 8) return picture;
    gfx_free_bitmap(picture);
    return nullptr;
}

}  // namespace

void draw_start_screen(DrawContext& page, const ModeDialogLook& look, const PageText& words) {
    std::fill_n(page.pixels, static_cast<std::size_t>(page.bytesPerLine) * page.height,
                static_cast<std::uint8_t>(look.background));
    GfxBitmap* picture = loadPicture(look, words);
    GfxFont* font = look.font.empty() ? nullptr : gfx_load_font(look.font);
    gfx_result();  // a missing file is drawn around, not reported later

    const std::array<std::string_view, 2> lines = {words.word(PageWord::Start),
                                                   words.word(PageWord::StartNote)};
    const int spacing = font ? std::max(kLineSpacing, gfx_font_height(font)) : kLineSpacing;
    int textWidth = 0;
    if (font) {
        for (std::string_view line : lines)
            textWidth = std::max(textWidth, gfx_font_text_width(font, line));
    }
    // The picture and the lines, stacked: side by side the lines would not
    // fit beside the picture on a 640-pixel page.
    const int pictureHeight = picture ? picture->height : 0;
    const int textHeight = textWidth > 0 ? kGap + spacing * static_cast<int>(lines.size()) : 0;
    const int top = std::max(0, (page.height - pictureHeight - textHeight) / 2);
    if (picture) gfx_put_bitmap(&page, (page.width - picture->width) / 2, top, picture, 0);
    if (textWidth > 0) {
        int y = top + pictureHeight + kGap;
        // Each line centred on its own: a translated line may be much
        // shorter or longer than the other.
        for (std::string_view line : lines) {
            const int x = (page.width - gfx_font_text_width(font, line)) / 2;
            gfx_draw_text_to(page, font, std::max(0, x), y, line, look.textColour);
            y += spacing;
        }
    }
    gfx_free_font(font);
    gfx_free_bitmap(picture);
}
