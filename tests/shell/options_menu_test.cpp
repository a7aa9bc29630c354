// The options menu with three items, more than this game's one: the
// selection wraps both ways, only the last item quits, and each item shows
// its own look at its own place.

#include "shell/options_menu.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/files.h"

namespace {

constexpr int kSide = 20;

// A kSide-square picture of one value with its top-left pixel transparent.
OwnedBitmap picture(const std::filesystem::path& folder, int value) {
    std::vector<std::uint8_t> pixels(kSide * kSide, static_cast<std::uint8_t>(value));
    pixels[0] = OptionsMenu::kTransparent;
    GfxBitmap bitmap;
    bitmap.width = kSide;
    bitmap.height = kSide;
    bitmap.bitsPerPixel = 8;
    bitmap.bytesPerLine = kSide;
    bitmap.pixels = pixels.data();
    const std::vector<PaletteEntry> palette(256);
    const std::string name = "p" + std::to_string(value) + ".bmp";
    EXPECT_TRUE(gfx_save_bitmap((folder / "Pics" / name).string(), bitmap, palette.data()));
    return OwnedBitmap(gfx_load_bitmap("Pics\\" + name, 0));
}

class ThreeItemMenu : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("krv_menu_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(root_ / "Pics");
        previousRoot_ = fw_data_root();
        fw_set_data_root(root_.string());
        // The game's own item first, as the menu loads it.
        std::filesystem::copy_file(saved(10), root_ / "Pics" / "ext_sel.bmp");
        std::filesystem::copy_file(saved(13), root_ / "Pics" / "ext_not.bmp");
        menu_ = std::make_unique<OptionsMenu>();
        menu_->last = 2;
        for (int slot : {1, 2, 4, 5}) menu_->pictures[slot] = picture(root_, 10 + slot);
        menu_->setQuitFlag(&quit_);
    }
    void TearDown() override {
        menu_.reset();
        fw_set_data_root(previousRoot_);
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }
    std::filesystem::path saved(int value) {
        picture(root_, value);
        return root_ / "Pics" / ("p" + std::to_string(value) + ".bmp");
    }

    std::filesystem::path root_;
    std::string previousRoot_;
    std::unique_ptr<OptionsMenu> menu_;
    int quit_ = 0;
};

}  // namespace

TEST_F(ThreeItemMenu, SelectionWrapsBothWaysAndOnlyTheLastItemQuits) {
    OptionsMenu& menu = *menu_;
    std::vector<int> down;
    for (int i = 0; i < 4; ++i, menu.selectNext()) down.push_back(menu.selected);
    EXPECT_EQ(down, (std::vector<int>{0, 1, 2, 0}));
    menu.resetSelection();
    std::vector<int> up;
    for (int i = 0; i < 4; ++i, menu.selectPrevious()) up.push_back(menu.selected);
    EXPECT_EQ(up, (std::vector<int>{0, 2, 1, 0}));

    for (int item = 0; item < 2; ++item) {
        menu.selected = item;
        menu.choose();
        EXPECT_EQ(quit_, 0) << "item " << item;
    }
    menu.selected = 2;
    menu.choose();
    EXPECT_EQ(quit_, 1);
}

TEST_F(ThreeItemMenu, EachItemShowsItsOwnLookAtItsOwnPlace) {
    OptionsMenu& menu = *menu_;
    std::vector<std::uint8_t> page(kScreenPixels, 0);
    menu.selected = 1;
    menu.draw(page.data());
    auto at = [&](int x, int y) { return page[y * kScreenWidth + x]; };
    for (int item = 0; item < 3; ++item) {
        const int top = 30 + 60 * item;
        const int slot = item == 1 ? item : item + 3;
        EXPECT_EQ(at(35, top + 5), 10 + slot) << "item " << item;
        EXPECT_EQ(at(30 + kSide - 1, top + kSide - 1), 10 + slot) << "item " << item;
        EXPECT_EQ(at(30, top), 0) << "item " << item << ": transparent corner";
        EXPECT_EQ(at(30 + kSide, top), 0) << "item " << item << ": right of the picture";
    }
}
