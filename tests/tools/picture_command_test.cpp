// krvtool picture: outside pictures become game pictures in the palette,
// textures exactly 256 by 256, oversized pictures fitted to the screen.

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "command.h"
#include "framework/files.h"
#include "framework/framework.h"
#include "framework/headless/headless.h"
#include "pictures/picture_import.h"
#include "shell/game_palette.h"

namespace {

namespace fs = std::filesystem;

class PictureCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("krv_picture_" + std::to_string(::getpid()));
        fs::create_directories(folder_ / "Pics");
        fw_set_data_root(folder_.string());
    }
    void TearDown() override {
        fw_set_data_root("");
        fs::remove_all(folder_);
    }

    // krvtool picture WORDS...
    int runTool(std::vector<std::string> words) {
        std::vector<char*> argv;
        std::string program = "krvtool";
        std::string command = "picture";
        argv.push_back(program.data());
        argv.push_back(command.data());
        for (std::string& word : words) argv.push_back(word.data());
        return run_krvtool(static_cast<int>(argv.size()), argv.data());
    }

    fs::path folder_;
};

// A game bitmap loaded back, pixels and palette, through the game's loader.
struct LoadedBitmap {
    GfxBitmap* bitmap = nullptr;
    ~LoadedBitmap() { gfx_free_bitmap(bitmap); }
};

TEST_F(PictureCommandTest, PngBecomesA256TextureInTheGamePalette) {
    // 400 by 300 RGB: the left half pure red, the right half a grey ramp; the
    // middle 300 by 300 square is what the texture keeps.
    constexpr int kWidth = 400;
    constexpr int kHeight = 300;
    std::array<PaletteEntry, 256> palette{};
    for (int i = 0; i < 256; ++i) {
        const auto level = static_cast<std::uint8_t>(i);
        palette[i].red = palette[i].green = palette[i].blue = level;
    }
    palette[255] = PaletteEntry{};
    palette[255].red = 255;
    std::vector<std::uint8_t> pixels(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels[y * kWidth + x] = x < kWidth / 2 ? 255 : static_cast<std::uint8_t>(y * 254 / kHeight);
    const fs::path png = folder_ / "photo.png";
    ASSERT_TRUE(write_page_png(png.string(), pixels.data(), palette.data(), kWidth, kHeight));

    const fs::path bmp = folder_ / "Pics" / "photo.bmp";
    ASSERT_EQ(runTool({png.string(), "-o", bmp.string(), "--texture"}), 0);

    LoadedBitmap loaded;
    loaded.bitmap = gfx_load_bitmap("Pics\\photo.bmp", 1);
    ASSERT_NE(loaded.bitmap, nullptr);
    const GfxBitmap& b = *loaded.bitmap;
    ASSERT_EQ(b.width, 256);
    ASSERT_EQ(b.height, 256);
    ASSERT_EQ(b.bitsPerPixel, 8);
    const auto game = game_palette();
    ASSERT_NE(b.palette, nullptr);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(b.palette[i].red, game[i].red) << i;
        ASSERT_EQ(b.palette[i].green, game[i].green) << i;
        ASSERT_EQ(b.palette[i].blue, game[i].blue) << i;
    }
    // Pure red lies on the cube, so the crop's red part dithers to red alone;
    // the square starts 50 source pixels in, so red covers its left third.
    const int red = cube_index(5, 0, 0);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(b.pixels[y * b.bytesPerLine + x], red) << x << "," << y;
    // The grey ramp keeps its mean brightness: dithering moves error, it does
    // not lose it. Compare the average level of a bottom band with the source.
    double sum = 0.0;
    int count = 0;
    for (int y = 230; y < 256; ++y) {
        for (int x = 150; x < 256; ++x) {
            sum += game[b.pixels[y * b.bytesPerLine + x]].green;
            ++count;
        }
    }
    const double sourceMean = (243.0 / 256.0) * 254.0;  // the band's rows in source terms
    EXPECT_NEAR(sum / count, sourceMean, 8.0);
}

TEST_F(PictureCommandTest, LargePictureIsFittedToTheScreenKeepingItsShape) {
    // A 1000 by 400 BMP in some other palette: 1000 wide fits as 640 by 256.
    std::array<PaletteEntry, 256> palette{};
    palette[1].blue = 255;
    std::vector<std::uint8_t> pixels(1000 * 400, 1);
    GfxBitmap source;
    source.width = 1000;
    source.height = 400;
    source.bitsPerPixel = 8;
    source.bytesPerLine = 1000;
    source.pixels = pixels.data();
    const fs::path wide = folder_ / "wide.bmp";
    ASSERT_TRUE(gfx_save_bitmap(wide.string(), source, palette.data()));

    const fs::path out = folder_ / "Pics" / "fitted.bmp";
    ASSERT_EQ(runTool({wide.string(), "-o", out.string()}), 0);
    LoadedBitmap loaded;
    loaded.bitmap = gfx_load_bitmap("Pics\\fitted.bmp", 0);
    ASSERT_NE(loaded.bitmap, nullptr);
    EXPECT_EQ(loaded.bitmap->width, 640);
    EXPECT_EQ(loaded.bitmap->height, 256);
    EXPECT_EQ(loaded.bitmap->pixels[100 * loaded.bitmap->bytesPerLine + 300], cube_index(0, 0, 5));
}

TEST_F(PictureCommandTest, UnreadableInputFailsAndWritesNothing) {
    const fs::path text = folder_ / "notes.png";
    std::ofstream(text) << "not a picture";
    const fs::path out = folder_ / "out.bmp";
    EXPECT_EQ(runTool({text.string(), "-o", out.string()}), 1);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(runTool({text.string()}), 2);
}

// The quiz maker page hands over pixels the browser decoded: they must make
// the very canvas the file loader makes of the same picture, whatever the
// row padding, see-through parts laid over black, and nothing from no pixels.
TEST_F(PictureCommandTest, DecodedPixelsMakeTheCanvasTheFileMakes) {
    constexpr int kWidth = 7;
    constexpr int kHeight = 5;
    std::array<PaletteEntry, 256> palette{};
    std::vector<std::uint8_t> pixels(kWidth * kHeight);
    for (int i = 0; i < 256; ++i) {
        palette[i].red = static_cast<std::uint8_t>(i);
        palette[i].green = static_cast<std::uint8_t>(255 - i);
        palette[i].blue = static_cast<std::uint8_t>(i * 7);
    }
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 37);
    const fs::path png = folder_ / "decoded.png";
    ASSERT_TRUE(write_page_png(png.string(), pixels.data(), palette.data(), kWidth, kHeight));
    std::string error;
    const auto fromFile = load_picture_file(png.string(), error);
    ASSERT_TRUE(fromFile) << error;

    constexpr int kPitch = kWidth * 4 + 12;
    std::vector<std::uint8_t> rgba(kPitch * kHeight, 0xee);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const PaletteEntry& entry = palette[pixels[y * kWidth + x]];
            std::uint8_t* p = &rgba[y * kPitch + x * 4];
            p[0] = entry.red;
            p[1] = entry.green;
            p[2] = entry.blue;
            p[3] = 255;
        }
    }
    const auto decoded = canvas_from_rgba(rgba.data(), kWidth, kHeight, kPitch, "decoded.png", error);
    ASSERT_TRUE(decoded) << error;
    ASSERT_EQ(decoded->width(), kWidth);
    ASSERT_EQ(decoded->height(), kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_EQ(decoded->get(x, y).red, fromFile->get(x, y).red) << x << "," << y;
            EXPECT_EQ(decoded->get(x, y).green, fromFile->get(x, y).green) << x << "," << y;
            EXPECT_EQ(decoded->get(x, y).blue, fromFile->get(x, y).blue) << x << "," << y;
        }
    }

    const std::uint8_t halfSeen[4] = {200, 100, 50, 51};
    const auto faded = canvas_from_rgba(halfSeen, 1, 1, 4, "faded.png", error);
    ASSERT_TRUE(faded);
    EXPECT_FLOAT_EQ(faded->get(0, 0).red, 200 * (51 / 255.0f));
    EXPECT_FALSE(canvas_from_rgba(halfSeen, 0, 1, 4, "empty.png", error));
    EXPECT_NE(error.find("empty.png"), std::string::npos);
}

}  // namespace
