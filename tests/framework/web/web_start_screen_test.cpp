// The browser's start screen shows the dialog's title picture (or the quiz's
// own) and the page's lines, and still shows something to start from when
// they are missing.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

#include "framework/files.h"
#include "framework/graphics.h"
#include "framework/web/web_start_screen.h"

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
    draw_start_screen(page->context, gameLook(), PageText{});
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
    // The two lines are written below it, inside the page.
    int textRows = 0;
    for (int y = top + picture->height; y < kScreenHeight; ++y) {
        bool written = false;
        for (int x = 0; x < kScreenWidth; ++x) written = written || page->at(x, y) == 215;
        textRows += written ? 1 : 0;
    }
    EXPECT_GT(textRows, 20);
    EXPECT_EQ(page->at(0, 0), 43);
    EXPECT_EQ(page->at(kScreenWidth - 1, kScreenHeight - 1), 43);
    gfx_free_bitmap(picture);
}

// Where the whole picture sits on the page, centred across, or -1.
int rowOf(const std::uint8_t* pixels, const GfxBitmap& picture) {
    const int left = (kScreenWidth - picture.width) / 2;
    const auto rowMatches = [&](int y, int row) {
        const std::uint8_t* from = picture.pixels + static_cast<std::size_t>(row) * picture.bytesPerLine;
        return std::equal(from, from + picture.width,
                          &pixels[static_cast<std::size_t>(y + row) * kScreenWidth + left]);
    };
    for (int y = 0; y + picture.height <= kScreenHeight; ++y) {
        int row = 0;
        while (row < picture.height && rowMatches(y, row)) ++row;
        if (row == picture.height) return y;
    }
    return -1;
}

TEST(WebStartScreen, TheQuizsOwnPictureAndLinesTakeThePlace) {
    fw_set_data_root(KRV_GAME_DIR);
    PageText words;
    words.picture = "q_earth.bmp";
    words.words[static_cast<std::size_t>(PageWord::Start)] = "Dr\xC3\xBC" "cke RETURN";
    auto own = std::make_unique<Page>();
    draw_start_screen(own->context, gameLook(), words);
    // A picture that is not there leaves the game's own title picture.
    words.picture = "no-such-picture.bmp";
    auto fallback = std::make_unique<Page>();
    draw_start_screen(fallback->context, gameLook(), words);
    auto plain = std::make_unique<Page>();
    draw_start_screen(plain->context, gameLook(), PageText{});
    GfxBitmap* earth = gfx_load_bitmap("Pics\\q_earth.bmp", 1);
    GfxBitmap* title = gfx_load_bitmap("Pics\\title.bmp", 1);
    fw_set_data_root("");
    ASSERT_NE(earth, nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_GE(rowOf(own->pixels.data(), *earth), 0);
    EXPECT_LT(rowOf(own->pixels.data(), *title), 0);
    EXPECT_GE(rowOf(fallback->pixels.data(), *title), 0);
    // The first line is the quiz's, so the text differs from the default page's.
    EXPECT_NE(fallback->pixels, plain->pixels);
    gfx_free_bitmap(earth);
    gfx_free_bitmap(title);
}

TEST(WebStartScreen, MissingFilesLeaveThePlainBackground) {
    fw_set_data_root("/nonexistent-krv-folder");
    auto page = std::make_unique<Page>();
    page->pixels.fill(7);
    draw_start_screen(page->context, gameLook(), PageText{});
    fw_set_data_root("");
    EXPECT_TRUE(std::all_of(page->pixels.begin(), page->pixels.end(),
                            [](std::uint8_t index) { return index == 43; }));
}

}  // namespace
