#include "quiz/quiz_title.h"

#include <algorithm>
#include <cstdint>

#include "framework/framework.h"
#include "pictures/picture_import.h"
#include "quiz/quiz_layout.h"

namespace {

constexpr int kMargin = 24;
constexpr int kIntroColumns = 60;
constexpr int kTitleMaxLines = 3;
const Rgb kSkyTop = rgb(6, 8, 28);
const Rgb kSkyBottom = rgb(24, 30, 72);
const Rgb kWhiteText = rgb(255, 255, 255);
const Rgb kShadow = rgb(0, 0, 0);

// One line of text in the game's font, each font pixel a scale by scale
// block, its top left at (x, y).
void drawLine(RgbCanvas& canvas, const GfxFont& font, const std::string& text, int x, int y,
              int scale, const Rgb& colour) {
    const int width = gfx_font_text_width(&font, text);
    const int height = gfx_font_height(&font);
    if (width <= 0 || height <= 0) return;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, 0);
    DrawContext context{pixels.data(), width, height, width, 0, 0, width - 1, height - 1};
    gfx_draw_text_to(context, &font, 0, 0, text, 1);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            if (!pixels[static_cast<std::size_t>(row) * width + column]) continue;
            canvas.fillRect(x + column * scale, y + row * scale, x + (column + 1) * scale - 1,
                            y + (row + 1) * scale - 1, colour);
        }
    }
}

// Centred lines with a shadow; returns the y below them.
int drawCentred(RgbCanvas& canvas, const GfxFont& font, const std::vector<std::string>& lines,
                int y, int scale) {
    const int height = gfx_font_height(&font) * scale;
    for (const std::string& line : lines) {
        const int x = (kScreenWidth - gfx_font_text_width(&font, line) * scale) / 2;
        drawLine(canvas, font, line, x + scale, y + scale, scale, kShadow);
        drawLine(canvas, font, line, x, y, scale, kWhiteText);
        y += height;
    }
    return y;
}

// The title as large as it fits in three lines.
std::vector<std::string> titleLines(const GfxFont& font, const std::string& title, int& scale) {
    const int charWidth = std::max(1, gfx_font_text_width(&font, "M"));
    for (scale = 3; scale > 1; --scale) {
        const auto lines = wrapText(title, (kScreenWidth - 2 * kMargin) / (charWidth * scale));
        if (static_cast<int>(lines.size()) <= kTitleMaxLines) return lines;
    }
    return wrapText(title, (kScreenWidth - 2 * kMargin) / charWidth);
}

}  // namespace

IndexedPicture makeQuizTitlePicture(const GfxFont& font, const std::string& title,
                                    const std::vector<std::string>& intro,
                                    const std::optional<RgbCanvas>& picture) {
    RgbCanvas canvas(kScreenWidth, kScreenHeight);
    canvas.verticalGradient(0, 0, kScreenWidth - 1, kScreenHeight - 1, kSkyTop, kSkyBottom);
    int scale = 3;
    const std::vector<std::string> lines = titleLines(font, title, scale);
    std::vector<std::string> introLines;
    for (const std::string& paragraph : intro) {
        for (std::string& line : wrapText(paragraph, kIntroColumns))
            introLines.push_back(std::move(line));
    }
    const int lineHeight = gfx_font_height(&font);
    const bool hasPicture = picture && picture->width() > 0 && picture->height() > 0;
    // Alone, the title stands a little above the middle; with a picture it
    // heads the screen.
    const int titleHeight = static_cast<int>(lines.size()) * lineHeight * scale;
    const int titleTop = hasPicture ? kMargin + 16 : (kScreenHeight - titleHeight) * 2 / 5;
    const int titleBottom = drawCentred(canvas, font, lines, titleTop, scale) + 16;
    const int introTop = kScreenHeight - kMargin - static_cast<int>(introLines.size()) * lineHeight;
    drawCentred(canvas, font, introLines, introTop, 1);

    if (hasPicture) {
        const int spaceWidth = kScreenWidth - 2 * kMargin;
        const int spaceHeight = introTop - 16 - titleBottom;
        if (spaceHeight > 16) {
            const double scaleDown =
                std::min({static_cast<double>(spaceWidth) / picture->width(),
                          static_cast<double>(spaceHeight) / picture->height(), 2.0});
            const int w = std::max(1, static_cast<int>(picture->width() * scaleDown));
            const int h = std::max(1, static_cast<int>(picture->height() * scaleDown));
            const RgbCanvas fitted = resize_canvas(*picture, w, h);
            const int left = (kScreenWidth - w) / 2;
            const int top = titleBottom + (spaceHeight - h) / 2;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) canvas.set(left + x, top + y, fitted.get(x, y));
            }
        }
    }
    return dither_to_palette(canvas);
}
