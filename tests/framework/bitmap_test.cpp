// BMP loading, saving and drawing, and the files that must fail cleanly.

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/backend.h"
#include "framework/bmp_reader.h"
#include "framework/files.h"
#include "framework/framework.h"
#include "framework/gfx_errors.h"
#include "framework/little_endian.h"

namespace {

namespace fs = std::filesystem;

// Pixel (x, y) of the test pictures, y counted from the top.
std::uint8_t testPixel(int x, int y) {
    return static_cast<std::uint8_t>(10 * y + x + 1);
}

struct BmpSpec {
    std::int32_t width = 3;
    std::int32_t height = 2;
    bool topDown = false;
    std::uint16_t bits = 8;
    std::uint32_t compression = 0;
    std::uint32_t colours = 0;       // 0: 256
    std::uint32_t infoBytes = 40;    // 108 and 124: the V4 and V5 headers
    std::vector<std::uint8_t> rle8;  // pixel data compressed elsewhere; empty: plain rows
    std::uint8_t (*pixel)(int x, int y) = testPixel;
};

// An 8-bit BMP written by hand, so that every header field can be broken.
std::vector<std::uint8_t> makeBmp(const BmpSpec& spec) {
    const std::uint32_t colours = spec.colours ? spec.colours : 256;
    const std::uint32_t pitch = (static_cast<std::uint32_t>(spec.width) + 3) & ~3u;
    const std::uint32_t dataOffset = 14 + spec.infoBytes + 4 * colours;
    const auto dataBytes = static_cast<std::uint32_t>(
        spec.rle8.empty() ? pitch * static_cast<std::uint32_t>(spec.height) : spec.rle8.size());
    std::vector<std::uint8_t> bytes;
    bytes.push_back('B');
    bytes.push_back('M');
    append_le32(bytes, dataOffset + dataBytes);
    append_le32(bytes, 0);
    append_le32(bytes, dataOffset);
    append_le32(bytes, spec.infoBytes);
    append_le32(bytes, static_cast<std::uint32_t>(spec.width));
    append_le32(bytes, static_cast<std::uint32_t>(spec.topDown ? -spec.height : spec.height));
    append_le16(bytes, 1);
    append_le16(bytes, spec.bits);
    append_le32(bytes, spec.rle8.empty() ? spec.compression : 1);
    append_le32(bytes, spec.rle8.empty() ? 0 : dataBytes);
    append_le32(bytes, 2835);
    append_le32(bytes, 2835);
    append_le32(bytes, spec.colours);
    append_le32(bytes, 0);
    bytes.resize(14 + spec.infoBytes);  // the V4 and V5 fields: masks, colour space
    for (std::uint32_t i = 0; i < colours; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i));        // blue
        bytes.push_back(static_cast<std::uint8_t>(255 - i));  // green
        bytes.push_back(static_cast<std::uint8_t>(i * 7));    // red
        bytes.push_back(0);
    }
    if (!spec.rle8.empty()) {
        bytes.insert(bytes.end(), spec.rle8.begin(), spec.rle8.end());
        return bytes;
    }
    for (int row = 0; row < spec.height; ++row) {
        const int y = spec.topDown ? row : spec.height - 1 - row;
        for (std::uint32_t x = 0; x < pitch; ++x) {
            bytes.push_back(x < static_cast<std::uint32_t>(spec.width)
                                ? spec.pixel(static_cast<int>(x), y)
                                : 0);
        }
    }
    return bytes;
}

// A picture with runs and stretches of different pixels, as photographs and
// drawings have: the RLE8 encoder below meets every kind of command.
std::uint8_t patchyPixel(int x, int y) {
    if (x < 4 + y) return static_cast<std::uint8_t>(50 + y);
    return static_cast<std::uint8_t>(3 * x + y);
}

// RLE8 the way encoders write it: runs of two or more as counted runs,
// stretches of three or more different pixels as absolute runs (padded to an
// even length), end of line after each row and end of bitmap after the last.
std::vector<std::uint8_t> encodeRle8(int width, int height, std::uint8_t (*pixel)(int, int)) {
    std::vector<std::uint8_t> out;
    for (int stored = 0; stored < height; ++stored) {
        const int y = height - 1 - stored;
        int x = 0;
        while (x < width) {
            int run = 1;
            while (x + run < width && pixel(x + run, y) == pixel(x, y)) ++run;
            if (run >= 2) {
                out.insert(out.end(), {static_cast<std::uint8_t>(run), pixel(x, y)});
                x += run;
                continue;
            }
            int stretch = 1;
            while (x + stretch < width &&
                   (x + stretch + 1 >= width || pixel(x + stretch, y) != pixel(x + stretch + 1, y)))
                ++stretch;
            if (stretch < 3) {
                out.insert(out.end(), {1, pixel(x, y)});
                ++x;
                continue;
            }
            out.insert(out.end(), {0, static_cast<std::uint8_t>(stretch)});
            for (int i = 0; i < stretch; ++i) out.push_back(pixel(x + i, y));
            if (stretch % 2) out.push_back(0);
            x += stretch;
        }
        out.insert(out.end(), {0, static_cast<std::uint8_t>(stored == height - 1 ? 1 : 0)});
    }
    return out;
}

// A 4x3 picture of four colours whose pixel data is the given RLE8 stream.
std::vector<std::uint8_t> smallRle8(std::vector<std::uint8_t> stream) {
    BmpSpec spec;
    spec.width = 4;
    spec.height = 3;
    spec.colours = 4;
    spec.rle8 = std::move(stream);
    return makeBmp(spec);
}

constexpr int kSmallRleDataAt = 14 + 40 + 4 * 4;

class BitmapTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(::testing::TempDir()) / ("krv_bitmap_" + std::to_string(::getpid()));
        fs::create_directories(folder_ / "Pics");
        fw_reset();
        fw_set_data_root(folder_.string());
        gfx_result();
    }
    void TearDown() override {
        fw_set_data_root("");
        std::error_code error;
        fs::remove_all(folder_, error);
    }
    // Writes a file under Pics/ and returns its game path.
    std::string writePicture(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream file(folder_ / "Pics" / name, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return "Pics\\" + name;
    }
    void expectCleanFailure(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = writePicture(name, bytes);
        EXPECT_EQ(gfx_bitmap_info(path), 0) << name;
        GfxBitmap* bitmap = gfx_load_bitmap(path, 1);
        EXPECT_EQ(bitmap, nullptr) << name;
        EXPECT_LT(gfx_result(), 0) << name;
        gfx_free_bitmap(bitmap);
    }
    fs::path folder_;
};

TEST_F(BitmapTest, BottomUpAndTopDownFilesGiveTheSameTopFirstRows) {
    for (const bool topDown : {false, true}) {
        BmpSpec spec;
        spec.width = 5;  // rows padded to 8 bytes in the file
        spec.height = 3;
        spec.topDown = topDown;
        const std::string path = writePicture(topDown ? "down.bmp" : "up.bmp", makeBmp(spec));
        EXPECT_NE(gfx_bitmap_info(path), 0);
        GfxBitmap* bitmap = gfx_load_bitmap(path, 0);
        ASSERT_NE(bitmap, nullptr) << topDown;
        EXPECT_EQ(bitmap->width, 5);
        EXPECT_EQ(bitmap->height, 3);
        EXPECT_EQ(bitmap->bitsPerPixel, 8);
        EXPECT_EQ(bitmap->bytesPerLine, 5);
        EXPECT_EQ(bitmap->palette, nullptr);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                EXPECT_EQ(bitmap->pixels[y * bitmap->bytesPerLine + x], testPixel(x, y))
                    << x << "," << y;
            }
        }
        gfx_free_bitmap(bitmap);
    }
    gfx_free_bitmap(nullptr);
}

TEST_F(BitmapTest, PaletteIsKeptOnlyWhenAskedAndShortTablesAreBlackAfterTheEnd) {
    BmpSpec spec;
    spec.colours = 16;
    const std::string path = writePicture("pal.bmp", makeBmp(spec));
    GfxBitmap* bitmap = gfx_load_bitmap(path, 1);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(bitmap->palette, nullptr);
    EXPECT_EQ(bitmap->palette[3].blue, 3);
    EXPECT_EQ(bitmap->palette[3].green, 252);
    EXPECT_EQ(bitmap->palette[3].red, 21);
    EXPECT_EQ(bitmap->palette[200].green, 0);
    gfx_free_bitmap(bitmap);
}

TEST_F(BitmapTest, BrokenFilesFailCleanly) {
    const std::vector<std::uint8_t> good = makeBmp(BmpSpec{});
    // Every cut of a good file, header and pixels alike.
    for (std::size_t size = 0; size < good.size(); ++size) {
        expectCleanFailure("cut" + std::to_string(size) + ".bmp",
                           std::vector<std::uint8_t>(
                               good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)));
    }
    BmpSpec deep;
    deep.bits = 24;
    expectCleanFailure("deep.bmp", makeBmp(deep));
    BmpSpec rle4;
    rle4.compression = 2;
    expectCleanFailure("rle4.bmp", makeBmp(rle4));
    BmpSpec tooManyColours;
    tooManyColours.colours = 257;
    expectCleanFailure("colours.bmp", makeBmp(tooManyColours));

    // Headers that claim absurd sizes over a small file.
    for (const auto& [width, height] : std::vector<std::pair<std::int32_t, std::int32_t>>{
             {100000, 2}, {3, 100000}, {0, 2}, {3, 0}, {-3, 2}, {8000, 8000}, {INT_MAX, INT_MAX}}) {
        std::vector<std::uint8_t> bytes = good;
        for (int i = 0; i < 4; ++i) {
            bytes[18 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> (8 * i));
            bytes[22 + i] =
                static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (8 * i));
        }
        expectCleanFailure("size.bmp", bytes);
    }
    std::vector<std::uint8_t> topDownMin = good;
    topDownMin[22] = topDownMin[23] = topDownMin[24] = 0;
    topDownMin[25] = 0x80;  // height INT_MIN: its negation overflows
    expectCleanFailure("intmin.bmp", topDownMin);
    std::vector<std::uint8_t> badOffset = good;
    badOffset[10] = 20;  // pixels "inside" the headers
    badOffset[11] = 0;
    expectCleanFailure("offset.bmp", badOffset);

    std::vector<std::uint8_t> garbage(3000);
    std::uint32_t seed = 12345;
    for (auto& byte : garbage) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    garbage[0] = 'B';
    garbage[1] = 'M';
    expectCleanFailure("garbage.bmp", garbage);

    EXPECT_EQ(gfx_bitmap_info("Pics\\missing.bmp"), 0);
    EXPECT_EQ(gfx_load_bitmap("Pics\\missing.bmp", 0), nullptr);
    EXPECT_EQ(gfx_result(), -3);
    EXPECT_STREQ(gfx_error_message(-3), "File not found");
}

TEST_F(BitmapTest, Rle8AndLongerHeadersGiveTheSamePixelsAsThePlainFile) {
    BmpSpec plain;
    plain.width = 13;
    plain.height = 5;
    plain.pixel = patchyPixel;
    GfxBitmap* expected = gfx_load_bitmap(writePicture("plain.bmp", makeBmp(plain)), 0);
    ASSERT_NE(expected, nullptr);
    for (const std::uint32_t infoBytes : {40u, 108u, 124u}) {
        BmpSpec packed = plain;
        packed.infoBytes = infoBytes;
        packed.rle8 = encodeRle8(plain.width, plain.height, patchyPixel);
        const std::string path = writePicture("rle.bmp", makeBmp(packed));
        EXPECT_NE(gfx_bitmap_info(path), 0) << infoBytes;
        GfxBitmap* bitmap = gfx_load_bitmap(path, 1);
        ASSERT_NE(bitmap, nullptr) << infoBytes << ": " << gfx_bitmap_problem();
        EXPECT_EQ(std::vector<std::uint8_t>(bitmap->pixels, bitmap->pixels + 13 * 5),
                  std::vector<std::uint8_t>(expected->pixels, expected->pixels + 13 * 5));
        EXPECT_EQ(bitmap->palette[3].green, 252);
        gfx_free_bitmap(bitmap);
    }
    gfx_free_bitmap(expected);
}

TEST(Rle8Test, MovesAndAbsoluteRunsLandWhereTheySay) {
    // Bottom row: two 7s; a move of one right and one up, a 9; end of line;
    // the top row three bytes copied (and one of padding); end of bitmap.
    const std::vector<std::uint8_t> file =
        smallRle8({2, 7, 0, 2, 1, 1, 1, 9, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1});
    BmpImage image;
    ASSERT_FALSE(decodeBmp(file, image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{1, 2, 3, 0,  //
                                                       0, 0, 0, 9,  //
                                                       7, 7, 0, 0}));

    // Encoders that compress whole padded rows run into the padding: a
    // 3-pixel row holds runs up to column 4, and what lies past 3 is dropped.
    BmpSpec padded;
    padded.width = 3;
    padded.height = 2;
    padded.rle8 = {0, 4, 5, 5, 6, 1, 0, 0, 4, 9, 0, 1};
    ASSERT_FALSE(decodeBmp(makeBmp(padded), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{9, 9, 9, 5, 5, 6}));
    padded.rle8 = {0, 5, 1, 2, 3, 4, 5, 0, 0, 1};
    EXPECT_EQ(decodeBmp(makeBmp(padded), image).reason,
              "corrupt RLE8 data at byte 1078: a run of 5 at column 0 passes the end of a row of "
              "3 (padded to 4)");
}

TEST(Rle8Test, StreamsThatLieAreRefusedWithWhereAndWhy) {
    const std::string at = "corrupt RLE8 data at byte ";
    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases = {
        {{5, 1, 0, 1}, at + "70: a run of 5 at column 0 passes the end of a row of 4"},
        {{2, 1, 0, 3, 1, 2, 3, 0, 0, 1},
         at + "72: a run of 3 at column 2 passes the end of a row of 4"},
        {{0, 2, 5, 0, 0, 1}, at + "70: a move to column 5 of row 0 leaves the 4x3 picture"},
        {{0, 2, 0, 4, 0, 1}, at + "70: a move to column 0 of row 4 leaves the 4x3 picture"},
        {{0, 0, 0, 0, 0, 0, 1, 1, 0, 1}, at + "76: pixels below the last row"},
        {{2, 7}, "truncated: RLE8 data ends at byte 72 without its end mark"},
        {{0, 5, 1, 2}, "truncated: RLE8 data ends at byte 74 without its end mark"},
    };
    for (const auto& [stream, reason] : cases) {
        BmpImage image;
        const BmpProblem problem = decodeBmp(smallRle8(stream), image);
        EXPECT_EQ(problem.code, gfx_error::kNotABitmap) << reason;
        EXPECT_EQ(problem.reason, reason);
        EXPECT_EQ(image.pixels.size(), 12u);
    }
    // Standing just below the last row is still inside: only the end may follow.
    BmpImage image;
    EXPECT_FALSE(decodeBmp(smallRle8({0, 2, 0, 3, 0, 1}), image));
    static_assert(kSmallRleDataAt == 70);
}

TEST_F(BitmapTest, EachRefusalSaysWhy) {
    BmpSpec deep;
    deep.bits = 24;
    BmpSpec fields;
    fields.compression = 3;
    BmpSpec empty;
    empty.width = 0;
    BmpSpec colours;
    colours.colours = 257;
    std::vector<std::uint8_t> cut = makeBmp(BmpSpec{});  // 1078 bytes of headers, 8 of pixels
    cut.resize(cut.size() - 1);
    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases = {
        {{'G', 'I', 'F', '8', '9', 'a'}, "not a BMP (no BM signature)"},
        {makeBmp(deep), "8 bits per pixel needed, file has 24"},
        {makeBmp(fields), "compression 3 (bit fields) is not supported"},
        {makeBmp(empty), "size 0x2 has no pixels"},
        {makeBmp(colours), "colour table of 257 entries (at most 256)"},
        {cut, "truncated: pixel data ends at byte 1086 of 1085"},
    };
    for (const auto& [bytes, reason] : cases) {
        const std::string path = writePicture("refused.bmp", bytes);
        EXPECT_EQ(gfx_bitmap_info(path), 0) << reason;
        EXPECT_EQ(gfx_bitmap_problem(), reason);
        EXPECT_EQ(gfx_load_bitmap(path, 1), nullptr) << reason;
        EXPECT_EQ(gfx_bitmap_problem(), reason);
    }
    EXPECT_EQ(gfx_load_bitmap("Pics\\missing.bmp", 0), nullptr);
    EXPECT_EQ(gfx_bitmap_problem(), "missing");
    // A success leaves no reason behind.
    EXPECT_NE(gfx_bitmap_info(writePicture("good.bmp", makeBmp(BmpSpec{}))), 0);
    EXPECT_EQ(gfx_bitmap_problem(), "");
}

TEST_F(BitmapTest, SavedBitmapLoadsBackWithItsPixelsAndPalette) {
    std::vector<std::uint8_t> pixels(7 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 11);
    std::vector<PaletteEntry> palette(256);
    for (int i = 0; i < 256; ++i) {
        palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 2),
                      static_cast<std::uint8_t>(255 - i), 0};
    }
    GfxBitmap bitmap;
    bitmap.width = 7;
    bitmap.height = 3;
    bitmap.bitsPerPixel = 8;
    bitmap.bytesPerLine = 7;
    bitmap.pixels = pixels.data();
    ASSERT_TRUE(gfx_save_bitmap((folder_ / "Pics" / "saved.bmp").string(), bitmap, palette.data()));
    EXPECT_FALSE(gfx_save_bitmap((folder_ / "Pics" / "none.bmp").string(), bitmap, nullptr));

    GfxBitmap* loaded = gfx_load_bitmap("Pics\\saved.bmp", 1);
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->width, 7);
    ASSERT_EQ(loaded->height, 3);
    EXPECT_EQ(std::vector<std::uint8_t>(loaded->pixels, loaded->pixels + 21), pixels);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(loaded->palette[i].blue, palette[i].blue);
        EXPECT_EQ(loaded->palette[i].green, palette[i].green);
        EXPECT_EQ(loaded->palette[i].red, palette[i].red);
    }
    gfx_free_bitmap(loaded);
}

TEST(PutBitmapTest, CopiesOnlyInsideTheClipRectangle) {
    constexpr int kWidth = 16;
    constexpr int kHeight = 12;
    std::vector<std::uint8_t> source(5 * 4);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(100 + i);
    GfxBitmap bitmap;
    bitmap.width = 5;
    bitmap.height = 4;
    bitmap.bitsPerPixel = 8;
    bitmap.bytesPerLine = 5;
    bitmap.pixels = source.data();

    // Every position from wholly left/above to wholly right/below the clip.
    for (int y = -5; y <= kHeight; ++y) {
        for (int x = -6; x <= kWidth; ++x) {
            std::vector<std::uint8_t> page(kWidth * kHeight, 7);
            DrawContext context{page.data(), kWidth, kHeight, kWidth, 2, 3, 12, 9};
            gfx_put_bitmap(&context, x, y, &bitmap, 0);
            for (int py = 0; py < kHeight; ++py) {
                for (int px = 0; px < kWidth; ++px) {
                    const bool inClip = px >= 2 && px <= 12 && py >= 3 && py <= 9;
                    const bool inBitmap = px >= x && px < x + 5 && py >= y && py < y + 4;
                    const std::uint8_t expected =
                        inClip && inBitmap ? source[(py - y) * 5 + (px - x)] : std::uint8_t{7};
                    ASSERT_EQ(page[py * kWidth + px], expected) << "at " << x << "," << y;
                }
            }
        }
    }
}

}  // namespace
