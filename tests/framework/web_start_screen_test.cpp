// The browser's start screen shows the dialog's title picture and lines on
// the page, and still shows something to start from when they are missing.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

#include "framework/files.h"
#include "framework/web_start_screen.h"

namespace {

struct Page {
    std::array<std::uint8_t, kScreenPixels> pixels{};
    DrawContext context;
    Page() {
        context.pixels = pixels.data();
        context.width = kScreenWidth;
        context.height = kScreenHeight;
        context.bytesPerLine = kScreenWidth;
        context.clipRight = kScreenWidth - 1;
        context.clipBottom = kScreenHeight - 1;
    }
    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * kScreenWidth + x]; }
};

ModeDialogLook gameLook() {
    ModeDialogLook look;
    look.titlePicture = "Pics\\title.bmp";
    look.font = "Fonts\\Cour20b.fnt";
    look.textColour = 215;
    look.background = 43;
    return look;
}

TEST(WebStartScreen, ThePictureAndTheLinesFitThePage) {
    fw_set_data_root(KRV_GAME_DIR);
    auto page = std::make_unique<Page>();
    draw_start_screen(page->context, gameLook());
    GfxBitmap* picture = gfx_load_bitmap("Pics\\title.bmp", 1);
    fw_set_data_root("");
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->width, 231);

    // The picture is centred across, its rows exactly as loaded.
    const int left = (kScreenWidth - picture->width) / 2;
    int top = -1;
    for (int y = 0; y < kScreenHeight && top < 0; ++y) {
        if (std::equal(picture->pixels, picture->pixels + picture->width,
                       &page->pixels[static_cast<std::size_t>(y) * kScreenWidth + left]))
            top = y;
    }
    ASSERT_GE(top, 0);
    for (int row = 0; row < picture->height; ++row) {
        const std::uint8_t* shown = &page->pixels[static_cast<std::size_t>(top + row) * kScreenWidth + left];
        ASSERT_TRUE(std::equal(shown, shown + picture->width,
                               picture->pixels + static_cast<std::size_t>(row) * picture->bytesPerLine))
            << row;
    }
    // The three lines are written below it, inside the page.
    int textRows = 0;
    for (int y = top + picture->height; y < kScreenHeight; ++y) {
        bool written = false;
        for (int x = 0; x < kScreenWidth; ++x) written = written || page->at(x, y) == 215;
        textRows += written ? 1 : 0;
    }
    EXPECT_GT(textRows, 30);
    EXPECT_EQ(page->at(0, 0), 43);
    EXPECT_EQ(page->at(kScreenWidth - 1, kScreenHeight - 1), 43);
    gfx_free_bitmap(picture);
}

TEST(WebStartScreen, MissingFilesLeaveThePlainBackground) {
    fw_set_data_root("/nonexistent-krv-folder");
    auto page = std::make_unique<Page>();
    page->pixels.fill(7);
    draw_start_screen(page->context, gameLook());
    fw_set_data_root("");
    EXPECT_TRUE(std::all_of(page->pixels.begin(), page->pixels.end(),
                            [](std::uint8_t index) { return index == 43; }));
}

}  // namespace
