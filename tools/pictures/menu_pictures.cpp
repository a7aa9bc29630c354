// ext_sel.bmp and ext_not.bmp: the options menu's exit item as a chamfered
// plate. Selected, the plate is rimmed in brass and the word glows; not
// selected, it is a dim slate plate. Around the plate the pictures hold 215,
// which the menu leaves transparent, and inside they never do.
#include <algorithm>
#include <cmath>
#include <vector>

#include "pictures/lettering.h"
#include "pictures/pictures.h"
#include "shell/game_palette.h"

namespace {

using menu_layout::kHeight;
using menu_layout::kWidth;

constexpr float kChamfer = 9.0f;

// Signed distance (pixels, negative inside) to the chamfered plate that
// fills the picture.
float plateDistance(int x, int y) {
    const float px = static_cast<float>(x) + 0.5f;
    const float py = static_cast<float>(y) + 0.5f;
    const float dx = std::min(px, static_cast<float>(kWidth) - px);
    const float dy = std::min(py, static_cast<float>(kHeight) - py);
    const float straight = std::min(dx, dy);
    const float cut = (dx + dy - kChamfer) * 0.70710678f;
    return -std::min(straight, cut);
}

struct ItemLook {
    Rgb plateTop;
    Rgb plateBottom;
    Rgb rim;
    Rgb letterTop;
    Rgb letterBottom;
    Rgb halo;
    float haloStrength;
};

void paintGem(RgbCanvas& canvas, float centreX, float centreY, float size, const Rgb& colour) {
    for (int y = static_cast<int>(centreY - size - 1); y <= static_cast<int>(centreY + size + 1);
         ++y) {
        for (int x = static_cast<int>(centreX - size - 1);
             x <= static_cast<int>(centreX + size + 1); ++x) {
            const float dx = static_cast<float>(x) + 0.5f - centreX;
            const float dy = static_cast<float>(y) + 0.5f - centreY;
            const float coverage =
                std::clamp(size + 0.5f - (std::fabs(dx) + std::fabs(dy)), 0.0f, 1.0f);
            // Facets: the upper left ones catch the light.
            const float light = dx + dy < 0.0f ? 1.25f : 0.7f;
            canvas.blend(x, y, scaled(colour, light), coverage);
        }
    }
}

}  // namespace

IndexedPicture make_exit_item_picture(bool selected) {
    const ItemLook look = selected ? ItemLook{rgb(40, 46, 66),
                                              rgb(16, 18, 30),
                                              rgb(226, 176, 72),
                                              rgb(255, 250, 200),
                                              rgb(240, 170, 50),
                                              rgb(150, 70, 10),
                                              1.0f}
                                   : ItemLook{rgb(34, 38, 48),
                                              rgb(20, 22, 30),
                                              rgb(92, 100, 116),
                                              rgb(150, 158, 176),
                                              rgb(96, 104, 122),
                                              rgb(0, 0, 0),
                                              0.0f};

    RgbCanvas canvas(kWidth, kHeight);
    std::vector<std::uint8_t> transparent(static_cast<std::size_t>(kWidth) * kHeight, 0);
    canvas.verticalGradient(0, 0, kWidth - 1, kHeight - 1, look.plateTop, look.plateBottom);
    canvas.grain(0, 0, kWidth - 1, kHeight - 1, 0.25f, 31);

    const std::string_view word = "EXIT";
    LetterStyle style;
    style.unitX = 5.5f;
    style.unitY = 4.6f;
    style.letterGap = 1.6f;
    const float top = (static_cast<float>(kHeight) - 6.0f * style.unitY) * 0.5f;
    const LetteredLine letters =
        lay_letters(word, style, static_cast<float>(kWidth) * 0.5f, top, kWidth, kHeight, 16.0f);
    const float stroke = 3.4f;

    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const float edge = plateDistance(x, y);
            if (edge > 0.0f) {
                transparent[static_cast<std::size_t>(y) * kWidth + x] = 1;
                continue;
            }
            // Rim: two pixels of the rim colour, lit along the top.
            const float depth = -edge;
            if (depth < 2.0f) {
                const float lit = y < kHeight / 2 ? 1.15f : 0.75f;
                canvas.set(x, y, scaled(look.rim, lit));
            } else if (depth < 3.0f) {
                canvas.set(x, y, scaled(canvas.get(x, y), 0.5f));
            }
            const float d = letters.distance(x, y);
            if (look.haloStrength > 0.0f && depth >= 3.0f) {
                const float falloff = std::clamp(1.0f - d / 14.0f, 0.0f, 1.0f);
                canvas.set(x, y,
                           added(canvas.get(x, y),
                                 scaled(look.halo, look.haloStrength * falloff * falloff)));
            }
            // A dark outline, then the letters shaded from top to bottom.
            canvas.blend(x, y, rgb(4, 4, 8), 0.85f * stroke_coverage(d, stroke + 2.5f));
            canvas.blend(x, y, mix(look.letterTop, look.letterBottom, letters.down(y)),
                         stroke_coverage(d, stroke));
        }
    }

    const float middle = static_cast<float>(kHeight) * 0.5f;
    if (selected) {
        paintGem(canvas, 22.0f, middle, 6.0f, rgb(230, 120, 30));
        paintGem(canvas, static_cast<float>(kWidth) - 22.0f, middle, 6.0f, rgb(230, 120, 30));
    } else {
        paintGem(canvas, 22.0f, middle, 3.5f, rgb(70, 76, 92));
        paintGem(canvas, static_cast<float>(kWidth) - 22.0f, middle, 3.5f, rgb(70, 76, 92));
    }
    return canvas.quantise(&transparent, kWhite, true);
}
