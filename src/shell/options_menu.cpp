#include "shell/options_menu.h"

#include <algorithm>

#include "shell/frame.h"
#include "shell/pictures.h"

OptionsMenu::OptionsMenu() {
    pictures[0] = load_picture_or_die("Pics\\ext_sel.bmp", 0);
    pictures[3] = load_picture_or_die("Pics\\ext_not.bmp", 0);
}

void OptionsMenu::selectPrevious() { selected = (selected <= 0) ? last : selected - 1; }

void OptionsMenu::selectNext() { selected = (selected < last) ? selected + 1 : 0; }

void OptionsMenu::choose() {
    if (selected == last && quitFlag) *quitFlag = 1;
}

void OptionsMenu::draw(std::uint8_t* pixels) {
    screen = pixels;
    dim_frame(pixels);
    for (int i = 0; i <= last; ++i) drawPicture(i == selected ? i : i + 3, 30, 30 + 60 * i);
}

void OptionsMenu::drawPicture(int slot, int x, int y) const {
    if (!screen || slot < 0 || slot >= kPictureSlots || !pictures[slot]) return;
    const GfxBitmap& picture = *pictures[slot];
    // Clipped to the frame: a picture that does not fit at its place would
    // otherwise write past the page.
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + picture.width, kScreenWidth);
    const int bottom = std::min(y + picture.height, kScreenHeight);
    for (int row = top; row < bottom; ++row) {
        const std::uint8_t* source =
            picture.pixels + static_cast<std::ptrdiff_t>(row - y) * picture.bytesPerLine + (left - x);
        std::uint8_t* target = screen + static_cast<std::ptrdiff_t>(row) * kScreenWidth;
        for (int column = left; column < right; ++column, ++source) {
            if (*source != kTransparent) target[column] = *source;
        }
    }
}
