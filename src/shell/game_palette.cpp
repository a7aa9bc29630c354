#include "shell/game_palette.h"

#include <algorithm>

std::array<PaletteEntry, 256> game_palette() {
    std::array<PaletteEntry, 256> palette{};
    for (int k = 0; k < 216; ++k) {
        palette[k].red = static_cast<std::uint8_t>((k % 6) * 51);
        palette[k].green = static_cast<std::uint8_t>(((k / 6) % 6) * 51);
        palette[k].blue = static_cast<std::uint8_t>((k / 36) * 51);
    }
    return palette;
}

int nearest_cube_index(int red, int green, int blue) {
    auto level = [](int component) { return (std::clamp(component, 0, 255) + 25) / 51; };
    return cube_index(level(red), level(green), level(blue));
}

void set_game_palette() {
    const auto palette = game_palette();
    fw_set_palette(palette.data(), 256, 0);
    fw_realize_palette(256, 0, 1);
}
