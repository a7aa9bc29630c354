// The generated default pictures: where the game draws over the frame, the
// menu pictures' transparency and bounds, the files written, determinism.

#include "pictures/pictures.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "framework/files.h"
#include "framework/framework.h"
#include "pictures/canvas.h"
#include "pictures/lettering.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

// Cube levels (0-5) of a palette index.
int redLevel(int index) {
    return index % 6;
}
int greenLevel(int index) {
    return (index / 6) % 6;
}
int blueLevel(int index) {
    return index / 36;
}

TEST(PicturesTest, FrameLeavesTheViewAndTheMessageBandDark) {
    const IndexedPicture frame = make_frame_picture();
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 480);
    ASSERT_EQ(frame.pixels.size(), 640u * 480u);
    using namespace frame_layout;
    // The view opening is black; the maze covers it.
    for (int y = kViewTop; y <= kViewBottom; ++y)
        for (int x = kViewLeft; x <= kViewRight; ++x) ASSERT_EQ(frame.at(x, y), 0) << x << "," << y;
    // Behind the message text and the frame rate (50, 430) nothing is
    // brighter than level 1 of red and green, so white text reads on it.
    for (int y = kBandTop; y <= kBandBottom; ++y) {
        for (int x = kBandLeft; x <= kBandRight; ++x) {
            const int index = frame.at(x, y);
            ASSERT_LT(index, 216);
            ASSERT_LE(redLevel(index) + greenLevel(index), 2) << x << "," << y;
            ASSERT_LE(blueLevel(index), 2) << x << "," << y;
        }
    }
    // The frame itself is drawn, not left black: most of the border outside
    // the view and the band carries colour.
    int lit = 0;
    int border = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const bool inView = x >= kViewLeft - 4 && x <= kViewRight + 4 && y >= kViewTop - 4 &&
                                y <= kViewBottom + 4;
            const bool inBand = x >= kBandLeft - 6 && x <= kBandRight + 6 && y >= kBandTop - 5 &&
                                y <= kBandBottom + 6;
            if (inView || inBand) continue;
            ++border;
            if (frame.at(x, y) != 0) ++lit;
        }
    }
    EXPECT_GT(lit, border * 9 / 10);
}

TEST(PicturesTest, MenuPicturesKeepWhiteForTransparencyAndFitTheMenu) {
    for (const bool selected : {true, false}) {
        SCOPED_TRACE(selected ? "selected" : "not selected");
        const IndexedPicture item = make_exit_item_picture(selected);
        EXPECT_GE(item.width, 1);
        EXPECT_LE(item.width, menu_layout::kMaxWidth);
        EXPECT_GE(item.height, 1);
        EXPECT_LE(item.height, menu_layout::kMaxHeight);
        ASSERT_EQ(item.pixels.size(), static_cast<std::size_t>(item.width) * item.height);
        // The plate is opaque in its middle and see-through at its cut
        // corners; no index above the cube appears.
        EXPECT_NE(item.at(item.width / 2, item.height / 2), 215);
        EXPECT_EQ(item.at(0, 0), 215);
        EXPECT_EQ(item.at(item.width - 1, item.height - 1), 215);
        int transparent = 0;
        for (const std::uint8_t index : item.pixels) {
            ASSERT_LE(index, 215);
            if (index == 215) ++transparent;
        }
        // Transparency is only the corners, not scattered through the plate
        // where near-white would dither into 215.
        EXPECT_LT(transparent, item.width * item.height / 20);
    }
    // The two looks differ: the selected one glows.
    EXPECT_NE(make_exit_item_picture(true).pixels, make_exit_item_picture(false).pixels);
}

TEST(PicturesTest, TitleHasTheDialogSizeAndADarkBackground) {
    const IndexedPicture title = make_title_picture();
    ASSERT_EQ(title.width, 231);
    ASSERT_EQ(title.height, 272);
    long sum = 0;
    for (const std::uint8_t index : title.pixels) {
        ASSERT_LT(index, 216);
        sum += redLevel(index) + greenLevel(index) + blueLevel(index);
    }
    // Mostly dark, but not empty: the average is between black and mid grey.
    const double average = static_cast<double>(sum) / static_cast<double>(title.pixels.size());
    EXPECT_GT(average, 0.5);
    EXPECT_LT(average, 6.0);
}

TEST(PicturesTest, DitherKeepsExactCubeColoursFlatAndAveragesTheRest) {
    RgbCanvas canvas(8, 8);
    canvas.fillRect(0, 0, 7, 3, rgb(0, 0, 51));       // exactly cube (0, 0, 1)
    canvas.fillRect(0, 4, 7, 7, rgb(127, 127, 127));  // half way from level 2 to 3
    const IndexedPicture picture = canvas.quantise(nullptr, 0, false);
    int levels = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (y < 4) {
                EXPECT_EQ(picture.at(x, y), 36) << x << "," << y;
            } else {
                levels += redLevel(picture.at(x, y));
            }
        }
    }
    // 32 pixels of 127/51 = 2.49 levels: about half 2, half 3.
    EXPECT_NEAR(levels, 80, 2);
}

TEST(PicturesTest, QuantiseReservesWhiteForTheMask) {
    RgbCanvas canvas(4, 4);
    canvas.fillRect(0, 0, 3, 3, rgb(255, 255, 255));
    std::vector<std::uint8_t> mask(16, 0);
    mask[5] = 1;
    const IndexedPicture picture = canvas.quantise(&mask, 215, true);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(picture.pixels[i], i == 5 ? 215 : 179) << i;
}

TEST(PicturesTest, LetteringCoversStrokesOnly) {
    LetterStyle style;
    style.unitX = 10.0f;
    style.unitY = 10.0f;
    // "O" is one closed polyline: its box's corners and centre stay clear,
    // the middle of its left side is on the stroke.
    const std::vector<float> field = letter_distance_field("O", style, 0.0f, 0.0f, 41, 61, 30.0f);
    auto at = [&](int x, int y) { return field[static_cast<std::size_t>(y) * 41 + x]; };
    EXPECT_LT(at(0, 30), 1.0f);
    EXPECT_GT(at(0, 0), 5.0f);
    EXPECT_GT(at(20, 30), 15.0f);
    // Unknown letters and spaces only advance the pen.
    EXPECT_GT(letter_text_width("O O", style), 2.0f * letter_text_width("O", style));
    const std::vector<float> blank = letter_distance_field(" ?", style, 0.0f, 0.0f, 41, 61, 30.0f);
    for (const float distance : blank) ASSERT_EQ(distance, 30.0f);
}

class PicturesFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("krv_pictures_" + std::to_string(::getpid()));
        fs::create_directories(folder_ / "Pics");
        fw_set_data_root(folder_.string());
    }
    void TearDown() override {
        fw_set_data_root("");
        std::error_code error;
        fs::remove_all(folder_, error);
    }
    fs::path folder_;
};

TEST_F(PicturesFilesTest, WrittenFilesLoadBackAsTheGeneratedPictures) {
    ASSERT_TRUE(write_pictures((folder_ / "Pics").string()));
    const struct {
        const char* file;
        IndexedPicture picture;
    } expected[] = {
        {"Pics\\border1.bmp", make_frame_picture()},
        {"Pics\\ext_sel.bmp", make_exit_item_picture(true)},
        {"Pics\\ext_not.bmp", make_exit_item_picture(false)},
        {"Pics\\title.bmp", make_title_picture()},
    };
    for (const auto& [file, picture] : expected) {
        SCOPED_TRACE(file);
        ASSERT_NE(gfx_bitmap_info(file), 0);
        GfxBitmap* loaded = gfx_load_bitmap(file, 0);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->bitsPerPixel, 8);
        ASSERT_EQ(loaded->width, picture.width);
        ASSERT_EQ(loaded->height, picture.height);
        bool same = true;
        for (int y = 0; y < picture.height && same; ++y)
            for (int x = 0; x < picture.width && same; ++x)
                same = loaded->pixels[y * loaded->bytesPerLine + x] == picture.at(x, y);
        EXPECT_TRUE(same);
        gfx_free_bitmap(loaded);
    }
}

TEST_F(PicturesFilesTest, TwoRunsWriteTheSameBytes) {
    const fs::path first = folder_ / "first";
    const fs::path second = folder_ / "second";
    fs::create_directories(first);
    fs::create_directories(second);
    ASSERT_TRUE(write_pictures(first.string()));
    ASSERT_TRUE(write_pictures(second.string()));
    for (const char* name : {"border1.bmp", "ext_sel.bmp", "ext_not.bmp", "title.bmp"}) {
        SCOPED_TRACE(name);
        const std::string a = readFile(first / name);
        const std::string b = readFile(second / name);
        EXPECT_FALSE(a.empty());
        EXPECT_EQ(a, b);
    }
}

TEST_F(PicturesFilesTest, MissingFolderIsAFailure) {
    EXPECT_FALSE(write_pictures((folder_ / "absent" / "Pics").string()));
}

}  // namespace
