#pragma once
// The options menu: a vertical list of items drawn as pictures over the
// dimmed frame. This game has one item, exit.

#include <array>
#include <cstdint>
#include <memory>

#include "framework/framework.h"
#include "framework/owned_bitmap.h"

class OptionsMenu {
public:
    static constexpr int kPictureSlots = 6;  // slot i selected look, i + 3 normal look
    static constexpr std::uint8_t kTransparent = 215;

    int selected = 0;
    int last = 0;
    int* quitFlag = nullptr;
    std::uint8_t* screen = nullptr;
    std::array<OwnedBitmap, kPictureSlots> pictures;

    // Loads the exit item's two pictures; a missing one ends the program.
    OptionsMenu();

    void setQuitFlag(int* flag) { quitFlag = flag; }
    void resetSelection() { selected = 0; }
    void selectPrevious();
    void selectNext();
    void choose();
    void draw(std::uint8_t* pixels);
    void drawPicture(int slot, int x, int y) const;
};
