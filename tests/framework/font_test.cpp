// PSF2 fonts: the loader's checks, text width, drawing and clipping, and the
// game's own font as the content step makes it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/backend.h"
#include "framework/files.h"
#include "framework/framework.h"
#include "framework/gfx_font.h"
#include "framework/headless/headless.h"
#include "framework/little_endian.h"
#include "framework/text_decode.h"

namespace {

namespace fs = std::filesystem;

constexpr int kGlyphWidth = 10;  // two bytes a row: the second byte matters
constexpr int kGlyphHeight = 6;

// The test font's pixel pattern; characters below '!' are blank.
bool glyphBit(int code, int x, int y) {
    return code > ' ' && (code + x * 3 + y * 5) % 3 == 0;
}

Psf2Font makeTestFont() {
    Psf2Font font;
    font.width = kGlyphWidth;
    font.height = kGlyphHeight;
    font.rowBytes = 2;
    font.glyphBytes = 2 * kGlyphHeight;
    font.glyphCount = 256;
    font.glyphs.assign(256 * font.glyphBytes, 0);
    for (int code = 0; code < 256; ++code) {
        for (int y = 0; y < kGlyphHeight; ++y) {
            for (int x = 0; x < kGlyphWidth; ++x) {
                if (glyphBit(code, x, y))
                    font.glyphs[code * font.glyphBytes + y * 2 + x / 8] |= 0x80 >> (x % 8);
            }
        }
    }
    return font;
}

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

class FontTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(::testing::TempDir()) / ("krv_font_" + std::to_string(::getpid()));
        fs::create_directories(folder_ / "Fonts");
        fw_reset();
        fw_set_data_root(folder_.string());
        writeBytes(folder_ / "Fonts" / "test.fnt", encodePsf2(makeTestFont()));
        font_ = gfx_load_font("Fonts\\test.fnt");
        ASSERT_NE(font_, nullptr);
        // Freeing the current font leaves none current, whatever ran before.
        GfxFont* other = gfx_load_font("Fonts\\test.fnt");
        gfx_use_font(other);
        gfx_free_font(other);
    }
    void TearDown() override {
        gfx_free_font(font_);
        fw_set_data_root("");
        std::error_code error;
        fs::remove_all(folder_, error);
    }
    fs::path folder_;
    GfxFont* font_ = nullptr;
};

TEST_F(FontTest, WidthIsGlyphWidthTimesCharactersAndZeroWithoutAFont) {
    EXPECT_EQ(gfx_font_text_width(font_, "Keravon"), 70);
    EXPECT_EQ(gfx_font_text_width(font_, ""), 0);
    EXPECT_EQ(gfx_font_text_width(nullptr, "Keravon"), 0);
    EXPECT_EQ(gfx_font_height(font_), kGlyphHeight);
    EXPECT_EQ(gfx_text_width("abc"), 0);  // none current (see SetUp)
    gfx_use_font(font_);
    EXPECT_EQ(gfx_text_width("abc\xE9"), 40);  // one byte, one glyph
    gfx_use_font(nullptr);                     // ignored
    EXPECT_EQ(gfx_text_width("abc"), 30);
}

TEST_F(FontTest, DrawnTextMatchesGlyphsInsideTheClipAndLeavesTheRestUntouched) {
    constexpr int kWidth = 64;
    constexpr int kHeight = 20;
    const std::string text = "A!z\xE9~";
    // Positions partly and wholly outside the clip, negative ones included.
    for (const int y : {-7, -3, 0, 4, 11, 16, 20}) {
        for (const int x : {-60, -13, -1, 0, 5, 30, 57, 64}) {
            std::vector<std::uint8_t> page(kWidth * kHeight, 9);
            DrawContext context{page.data(), kWidth, kHeight, kWidth, 3, 2, 58, 15};
            gfx_draw_text_to(context, font_, x, y, text, 215);
            for (int py = 0; py < kHeight; ++py) {
                for (int px = 0; px < kWidth; ++px) {
                    const int column = px - x;
                    const int index = column >= 0 ? column / kGlyphWidth : -1;
                    const bool inText = column >= 0 && index < static_cast<int>(text.size()) &&
                                        py >= y && py < y + kGlyphHeight;
                    const bool inClip = px >= 3 && px <= 58 && py >= 2 && py <= 15;
                    const bool set = inText && inClip &&
                                     glyphBit(static_cast<unsigned char>(text[index]),
                                              column % kGlyphWidth, py - y);
                    ASSERT_EQ(page[py * kWidth + px], set ? 215 : 9) << "text at " << x << "," << y;
                }
            }
        }
    }
}

TEST_F(FontTest, DrawTextUsesThePageCurrentFontColourAndClip) {
    HeadlessBackend backend;
    fw_use_backend(&backend);
    ASSERT_NE(fw_init("Keravon"), nullptr);
    ModeChoice mode;
    int windowed = 1;
    ASSERT_TRUE(fw_choose_mode(&mode, &windowed));
    ASSERT_NE(fw_set_mode(mode, windowed, 2, 1), 0);
    const DrawContext& page = *fw_draw_context();

    gfx_draw_text(0, 0, "AAAA");  // no font: nothing
    for (int i = 0; i < kScreenPixels; ++i) ASSERT_EQ(page.pixels[i], 0);

    gfx_use_font(font_);
    gfx_set_color(17);
    gfx_set_clip_rect(0, 0, 14, 479);  // cuts the second glyph after 5 columns
    gfx_draw_text(0, 100, "AA");
    int drawn = 0;
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const std::uint8_t value = page.pixels[y * page.bytesPerLine + x];
            const bool expected = y >= 100 && y < 100 + kGlyphHeight && x <= 14 &&
                                  glyphBit('A', x % kGlyphWidth, y - 100);
            ASSERT_EQ(value, expected ? 17 : 0) << x << "," << y;
            drawn += expected;
        }
    }
    EXPECT_GT(drawn, 0);

    // Freeing the current font must not leave text drawing from freed memory.
    gfx_free_font(font_);
    font_ = nullptr;
    gfx_set_clip_rect(0, 0, 639, 479);
    gfx_draw_text(0, 200, "AAAA");
    for (int i = 200 * kScreenWidth; i < kScreenPixels; ++i) ASSERT_EQ(page.pixels[i], 0);
    EXPECT_EQ(gfx_text_width("AA"), 0);
    fw_use_headless_backend();
}

TEST(Psf2Test, BadHeadersAreRejected) {
    const std::vector<std::uint8_t> good = encodePsf2(makeTestFont());
    Psf2Font font;
    std::string error;
    ASSERT_TRUE(parsePsf2(good, font, error)) << error;
    EXPECT_EQ(font.glyphCount, 256);
    EXPECT_TRUE(font.unicodeTable.empty());

    struct Breakage {
        const char* what;
        std::size_t at;
        std::uint32_t value;
    };
    for (const Breakage& breakage :
         {Breakage{"magic", 0, 0x12345678}, Breakage{"version", 4, 1},
          Breakage{"small header", 8, 16}, Breakage{"header past end", 8, 1u << 30},
          Breakage{"no glyphs", 16, 0}, Breakage{"huge count", 16, 0xFFFFFFFF},
          Breakage{"glyph bytes", 20, 13}, Breakage{"zero height", 24, 0},
          Breakage{"huge height", 24, 0x7FFFFFFF}, Breakage{"zero width", 28, 0},
          Breakage{"huge width", 28, 0xFFFFFFFF}}) {
        std::vector<std::uint8_t> bytes = good;
        put_le(&bytes[breakage.at], breakage.value, 4);
        EXPECT_FALSE(parsePsf2(bytes, font, error)) << breakage.what;
        EXPECT_FALSE(error.empty());
    }
    for (const std::size_t size : {std::size_t{0}, std::size_t{31}, good.size() - 1}) {
        EXPECT_FALSE(parsePsf2(std::span(good.data(), size), font, error)) << size;
    }
}

TEST(Psf2Test, LoaderFailsCleanlyOnBadFiles) {
    const fs::path folder =
        fs::path(::testing::TempDir()) / ("krv_badfont_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fw_reset();
    fw_set_data_root(folder.string());
    std::vector<std::uint8_t> bytes = encodePsf2(makeTestFont());
    bytes.resize(bytes.size() / 2);
    writeBytes(folder / "cut.fnt", bytes);
    EXPECT_EQ(gfx_load_font("cut.fnt"), nullptr);
    EXPECT_EQ(gfx_result(), -8);
    EXPECT_EQ(gfx_load_font("missing.fnt"), nullptr);
    EXPECT_EQ(gfx_result(), -3);
    fw_set_data_root("");
    fs::remove_all(folder);
}

// A font whose glyph g shows its number in the first row's pixels, so a
// drawing tells which glyph each cell holds.
Psf2Font makeNumberedFont() {
    Psf2Font font = makeTestFont();
    std::fill(font.glyphs.begin(), font.glyphs.end(), 0);
    for (int glyph = 0; glyph < font.glyphCount; ++glyph) {
        font.glyphs[glyph * font.glyphBytes] = static_cast<std::uint8_t>(glyph);
        font.glyphs[glyph * font.glyphBytes + font.rowBytes] = 0xFF;  // ink in every glyph
    }
    return font;
}

// The glyph number in each cell of `text` drawn; -1 for a blank cell.
std::vector<int> glyphsDrawn(const GfxFont* font, std::string_view text) {
    const int width = gfx_font_text_width(font, text);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * kGlyphHeight, 0);
    DrawContext context{row.data(), width, kGlyphHeight, width, 0, 0, width - 1, kGlyphHeight - 1};
    gfx_draw_text_to(context, font, 0, 0, text, 1);
    std::vector<int> glyphs;
    for (int cell = 0; cell < width / kGlyphWidth; ++cell) {
        int glyph = 0;
        for (int x = 0; x < 8; ++x) glyph = glyph * 2 + row[cell * kGlyphWidth + x];
        glyphs.push_back(row[width + cell * kGlyphWidth] ? glyph : -1);
    }
    return glyphs;
}

TEST(Psf2Test, TheUnicodeTableMapsCharactersAndTheRestDrawAsTheReplacement) {
    const fs::path folder =
        fs::path(::testing::TempDir()) / ("krv_tablefont_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fw_reset();
    fw_set_data_root(folder.string());
    std::vector<Psf2Mapping> mappings;
    for (char32_t c = 0x20; c < 0x7F; ++c) mappings.push_back({c, static_cast<int>(c)});
    // 'A' listed again for a later glyph: the first listing wins. U+1F642 is
    // past the plane the loader maps.
    for (const Psf2Mapping mapping : {Psf2Mapping{U'\u0416', 200}, Psf2Mapping{U'A', 201},
                                      Psf2Mapping{kReplacementCharacter, 202},
                                      Psf2Mapping{U'\U0001F642', 203}})
        mappings.push_back(mapping);
    Psf2Font font = makeNumberedFont();
    font.unicodeTable = encodePsf2UnicodeTable(font.glyphCount, mappings);

    Psf2Font parsed;
    std::vector<Psf2Mapping> readBack;
    std::string error;
    ASSERT_TRUE(parsePsf2(encodePsf2(font), parsed, error)) << error;
    ASSERT_TRUE(readPsf2UnicodeTable(parsed, readBack, error)) << error;
    ASSERT_EQ(readBack.size(), mappings.size());
    EXPECT_EQ(readBack.back().codePoint, U'\U0001F642');
    EXPECT_EQ(readBack.back().glyph, 203);

    writeBytes(folder / "table.fnt", encodePsf2(font));
    GfxFont* loaded = gfx_load_font("table.fnt");
    ASSERT_NE(loaded, nullptr);
    // "AЖé🙂": é is not in this table (only ASCII is), nor is U+1F642.
    EXPECT_EQ(glyphsDrawn(loaded, "A\xD0\x96\xC3\xA9\xF0\x9F\x99\x82"),
              (std::vector<int>{'A', 200, 202, 202}));
    EXPECT_TRUE(gfx_font_has_glyph(loaded, U'\u0416'));
    EXPECT_FALSE(gfx_font_has_glyph(loaded, U'\u00E9'));
    EXPECT_FALSE(gfx_font_has_glyph(nullptr, U'A'));
    gfx_free_font(loaded);

    // Without U+FFFD in the table the replacement is '?'.
    mappings.erase(mappings.end() - 2);
    font.unicodeTable = encodePsf2UnicodeTable(font.glyphCount, mappings);
    writeBytes(folder / "table.fnt", encodePsf2(font));
    loaded = gfx_load_font("table.fnt");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(glyphsDrawn(loaded, "\xD0\x96\xEF\xBF\xBD"), (std::vector<int>{200, '?'}));
    gfx_free_font(loaded);

    // A table that lists fewer glyphs than the font has, or holds a byte no
    // UTF-8 character starts with, is no font.
    for (const std::size_t cut : {std::size_t{1}, std::size_t{2}}) {
        std::vector<std::uint8_t> bytes = encodePsf2(font);
        if (cut == 1) bytes.pop_back();
        else bytes[bytes.size() - 2] = 0x80;
        writeBytes(folder / "broken.fnt", bytes);
        EXPECT_EQ(gfx_load_font("broken.fnt"), nullptr) << cut;
        EXPECT_EQ(gfx_result(), -8);
    }
    fw_set_data_root("");
    fs::remove_all(folder);
}

TEST(GameFontTest, ContentStepMakesALatin1FontWithItsLicence) {
    const fs::path fonts = fs::path(KRV_GAME_DIR) / "Fonts";
    fw_set_data_root(KRV_GAME_DIR);
    GfxFont* font = gfx_load_font("Fonts\\Cour20b.fnt");
    fw_set_data_root("");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(gfx_font_text_width(font, "x"), 10);
    EXPECT_EQ(gfx_font_height(font), 20);  // the game's line spacing

    // Draw every code on its own and count the pixels it sets.
    const auto inkOf = [&](int code) {
        std::vector<std::uint8_t> cell(10 * 20, 0);
        DrawContext context{cell.data(), 10, 20, 10, 0, 0, 9, 19};
        gfx_draw_text_to(context, font, 0, 0, std::string(1, static_cast<char>(code)), 1);
        int ink = 0;
        for (const std::uint8_t value : cell) ink += value;
        return ink;
    };
    for (const int code : {0x00, 0x0A, 0x1F, 0x20, 0x7F, 0x85, 0x9F})
        EXPECT_EQ(inkOf(code), 0) << code;
    for (const int code : {int{'A'}, int{'z'}, int{'0'}, int{'?'}, 0xE9, 0xDF, 0xFF})
        EXPECT_GT(inkOf(code), 10) << code;
    EXPECT_NE(inkOf('A'), inkOf('B'));
    gfx_free_font(font);

    std::ifstream licence(fonts / "Cour20b.LICENSE.txt");
    const std::string text{std::istreambuf_iterator<char>(licence),
                           std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("SIL OPEN FONT LICENSE Version 1.1"), std::string::npos);
    EXPECT_NE(text.find("Copyright (C) 2020 Dimitar Toshkov Zhekov"), std::string::npos);
}

}  // namespace
