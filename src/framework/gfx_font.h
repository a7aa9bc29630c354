#pragma once
// PSF2 bitmap fonts (docs/font-format.md): the parsed form and the Unicode
// table, shared by the game's font loader and the content tool that makes
// the game's font.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr std::uint32_t kPsf2Magic = 0x864AB572;
constexpr std::uint32_t kPsf2HeaderBytes = 32;
constexpr std::uint32_t kPsf2HasUnicodeTable = 0x01;

struct Psf2Font {
    int width = 0;       // pixels per glyph row
    int height = 0;      // rows per glyph
    int rowBytes = 0;    // (width + 7) / 8; the leftmost pixel is the top bit
    int glyphBytes = 0;  // height * rowBytes
    int glyphCount = 0;
    std::vector<std::uint8_t> glyphs;        // glyphCount * glyphBytes, glyph 0 first
    std::vector<std::uint8_t> unicodeTable;  // raw, empty without one; written when present

    bool pixel(int glyph, int x, int y) const {
        const std::size_t at = static_cast<std::size_t>(glyph) * glyphBytes +
                               static_cast<std::size_t>(y) * rowBytes +
                               static_cast<std::size_t>(x / 8);
        return (glyphs[at] & (0x80 >> (x % 8))) != 0;
    }
};

// Checks every header field against the file's size; on failure says why.
bool parsePsf2(std::span<const std::uint8_t> bytes, Psf2Font& font, std::string& error);

// The file form of `font`, flagged to have a Unicode table when it holds one.
std::vector<std::uint8_t> encodePsf2(const Psf2Font& font);

// One character of the Unicode table and the glyph it is drawn with.
struct Psf2Mapping {
    char32_t codePoint = 0;
    int glyph = 0;
};

// The single characters of the font's table, glyph by glyph in list order;
// the sequences a list may add after 0xFE are skipped. False, with the
// reason, when the table is malformed or lists fewer glyphs than the font.
bool readPsf2UnicodeTable(const Psf2Font& font, std::vector<Psf2Mapping>& mappings,
                          std::string& error);
// The raw table listing `mappings` for glyphs 0 .. glyphCount - 1.
std::vector<std::uint8_t> encodePsf2UnicodeTable(int glyphCount,
                                                 std::span<const Psf2Mapping> mappings);
