// How a line's bytes become characters: UTF-8 where the whole line is
// UTF-8, else Latin-1 byte by byte; a character cut by the line limit; the
// byte order mark; and the game's font drawing exactly as far as it measures.

#include "framework/text_decode.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/backend.h"
#include "framework/files.h"
#include "framework/framework.h"

namespace {

std::u32string charactersOf(std::string_view line) {
    std::u32string characters;
    forEachCharacter(line, [&](char32_t c) { characters += c; });
    EXPECT_EQ(characterCount(line), characters.size()) << line;
    return characters;
}

TEST(TextDecode, EachLineIsUtf8WhenItAllIsElseLatin1) {
    // What an editor saves today, accents and other scripts alike.
    EXPECT_EQ(charactersOf("Grüße, Œuvre, Łódź, Ωμέγα, Жук €"),
              U"Grüße, Œuvre, Łódź, Ωμέγα, Жук €");
    // The same German in an old Latin-1 file.
    EXPECT_EQ(charactersOf("Gr\xFC\xDF" "e"), U"Grüße");
    // Decided per line: one byte that is no UTF-8 makes all of it Latin-1.
    EXPECT_EQ(charactersOf("\xC3\xA9t\xE9"), U"\u00C3\u00A9t\u00E9");
    // A stray continuation byte, a lead byte ending a short line ("café"),
    // overlong forms, a surrogate and a code point past U+10FFFF.
    EXPECT_EQ(charactersOf("ab\x80" "c"), U"ab\u0080c");
    EXPECT_EQ(charactersOf("caf\xE9"), U"café");
    EXPECT_EQ(charactersOf("\xC0\xAF"), U"\u00C0\u00AF");
    EXPECT_EQ(charactersOf("\xE0\x80\xAF"), U"\u00E0\u0080\u00AF");
    EXPECT_EQ(charactersOf("\xED\xA0\x80"), U"\u00ED\u00A0\u0080");
    EXPECT_EQ(charactersOf("\xF4\x90\x80\x80"), U"\u00F4\u0090\u0080\u0080");
    // Four bytes, and plain ASCII, which reads the same either way.
    EXPECT_EQ(charactersOf("\xF0\x9F\x99\x82!"), U"\U0001F642!");
    EXPECT_EQ(charactersOf("Arrow keys  : Move"), U"Arrow keys  : Move");
    EXPECT_EQ(charactersOf(""), U"");
}

// A file holding `bytes`, read with TextFile the way the game reads.
std::vector<std::string> linesOf(const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("krv_text_decode_test_" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << bytes;
    TextFile file;
    EXPECT_TRUE(file.openNative(path.string()));
    std::vector<std::string> lines;
    std::string line;
    while (file.readLine(line)) lines.push_back(line);
    file.rewind();  // the mark is skipped again
    EXPECT_EQ(file.readLine(line), !lines.empty());
    if (!lines.empty()) {
        EXPECT_EQ(line, lines.front());
    }
    file.close();
    std::filesystem::remove(path);
    return lines;
}

TEST(TextDecode, ACharacterCutByTheLineLimitShowsAsOneReplacementMark) {
    // "€" is three bytes; the 999-byte limit falls after its first.
    const std::string before(TextFile::kMaxLine - 1, 'a');
    const std::vector<std::string> lines = linesOf(before + "€ und mehr\n");
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].size(), TextFile::kMaxLine);
    const std::u32string cut = charactersOf(lines[0]);
    ASSERT_EQ(cut.size(), TextFile::kMaxLine);
    EXPECT_EQ(cut.back(), kReplacementCharacter);
    EXPECT_EQ(cut.substr(0, 3), U"aaa");
    // The rest of the character starts the next line, which is therefore
    // no UTF-8: its bytes show as they are.
    EXPECT_EQ(charactersOf(lines[1]), U"\u0082\u00AC und mehr");

    // Only at the limit: a shorter line with the same end is Latin-1.
    EXPECT_EQ(charactersOf(lines[0].substr(1)).back(), U'\u00E2');
    // At the limit with a fault before the cut, the whole line is Latin-1.
    std::string faulty = lines[0];
    faulty[0] = '\xFF';
    EXPECT_EQ(charactersOf(faulty).back(), U'\u00E2');
}

TEST(TextDecode, AByteOrderMarkStartingAFileIsSkippedAndNowhereElse) {
    EXPECT_EQ(linesOf("\xEF\xBB\xBFQ\r\nTEXT\n"), (std::vector<std::string>{"Q", "TEXT"}));
    EXPECT_EQ(linesOf("Q\n\xEF\xBB\xBFQ\n"), (std::vector<std::string>{"Q", "\xEF\xBB\xBFQ"}));
    EXPECT_EQ(linesOf("\xEF\xBB\n"), (std::vector<std::string>{"\xEF\xBB"}));
    EXPECT_EQ(linesOf("\xEF\xBB\xBF"), (std::vector<std::string>{}));
    // The mark is none of the line's 999 bytes.
    const std::string full(TextFile::kMaxLine, 'x');
    EXPECT_EQ(linesOf("\xEF\xBB\xBF" + full), (std::vector<std::string>{full}));
}

class GameFontText : public ::testing::Test {
protected:
    void SetUp() override {
        fw_set_data_root(KRV_GAME_DIR);
        font_ = gfx_load_font("Fonts\\Cour20b.fnt");
        fw_set_data_root("");
        ASSERT_NE(font_, nullptr);
    }
    void TearDown() override { gfx_free_font(font_); }

    // The page with `text` drawn at x 3; `then` drawn after it where its
    // measured width says the text ends.
    std::vector<std::uint8_t> drawn(std::string_view text, std::string_view then = {}) const {
        std::vector<std::uint8_t> page(kWidth * 20, 0);
        DrawContext context{page.data(), kWidth, 20, kWidth, 0, 0, kWidth - 1, 19};
        gfx_draw_text_to(context, font_, 3, 0, text, 1);
        gfx_draw_text_to(context, font_, 3 + gfx_font_text_width(font_, text), 0, then, 1);
        return page;
    }

    static constexpr int kWidth = 640;
    GfxFont* font_ = nullptr;
};

TEST_F(GameFontText, TextIsDrawnExactlyAsWideAsItIsMeasured) {
    const std::string mixed = "Fa\xC3\xA7" "ade \xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xA9\xCE\xBC "
                              "\xD0\x96\xD1\x83\xD0\xBA \xD7\x90\xE2\x80\xA6\xF0\x9F\x99\x82";
    for (const std::string& text :
         {mixed, std::string("Gr\xFC\xDF" "e \x80\x9F"), std::string(TextFile::kMaxLine - 1, 'a') + "\xE2\x82"}) {
        EXPECT_EQ(gfx_font_text_width(font_, text),
                  10 * static_cast<int>(characterCount(text)));
        // Drawing a glyph after the text where the width says it ends is
        // drawing the text with the glyph as its last character.
        EXPECT_EQ(drawn(text, "W"), drawn(text + "W")) << text;
    }
    EXPECT_EQ(gfx_font_text_width(font_, mixed), 10 * 22);
}

TEST_F(GameFontText, ScriptsHaveTheirLettersAndAMissingOneIsOneReplacementMark) {
    // The same German from a Latin-1 and a UTF-8 file.
    EXPECT_EQ(drawn("Gr\xFC\xDF" "e"), drawn("Grüße"));
    for (const char32_t letter : {U'ü', U'Ł', U'ź', U'Œ', U'Ω', U'έ', U'Ж', U'ё', U'€', U'“'})
        EXPECT_TRUE(gfx_font_has_glyph(font_, letter)) << static_cast<int>(letter);
    EXPECT_NE(drawn("Ω"), drawn("?"));
    EXPECT_NE(drawn("Ж"), drawn("\xEF\xBF\xBD"));
    // Hebrew is not in the font, nor anything past U+FFFF: each such
    // character is one replacement mark in its own cell.
    EXPECT_FALSE(gfx_font_has_glyph(font_, U'א'));
    EXPECT_FALSE(gfx_font_has_glyph(font_, U'\U0001F642'));
    EXPECT_EQ(drawn("a\xD7\x90" "b\xF0\x9F\x99\x82"), drawn("a\xEF\xBF\xBD" "b\xEF\xBF\xBD"));
    EXPECT_NE(drawn("\xEF\xBF\xBD"), drawn(""));
    // Every Latin-1 character looks the same read from either encoding,
    // control codes blank as ever: built-in texts are unchanged.
    for (int code = 1; code < 256; ++code) {
        std::string utf8;
        if (code < 0x80) {
            utf8 = std::string(1, static_cast<char>(code));
        } else {
            utf8 = {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
        }
        // A lone byte is never UTF-8 (a lead byte ending a short line).
        ASSERT_EQ(drawn(utf8), drawn(std::string(1, static_cast<char>(code)))) << code;
    }
}

}  // namespace
