// Fonts and text: PSF2 files, one colour, the top-left corner of the first
// glyph at the given position. Text is decoded line by line (text_decode.h)
// and each character found through a table from code point to glyph, built
// at load from the font's Unicode table; a font without one is indexed by
// code point.

#include "framework/gfx_font.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "framework/backend.h"
#include "framework/files.h"
#include "framework/gfx_errors.h"
#include "framework/little_endian.h"
#include "framework/text_decode.h"

struct GfxFont {
    static constexpr std::uint16_t kUnmapped = 0xFFFF;  // above any glyph index the loader accepts

    Psf2Font psf;
    // Indexed by code point, up to the highest one the font has; kUnmapped
    // where it has none. One load per character on the drawing path.
    std::vector<std::uint16_t> glyphOf;
    // The glyph of a character the font lacks: U+FFFD's, else '?''s, else
    // glyphCount (nothing is drawn, the pen still advances).
    int replacement = 0;

    bool has(char32_t codePoint) const {
        return codePoint < glyphOf.size() && glyphOf[codePoint] != kUnmapped;
    }
    int glyphFor(char32_t codePoint) const {
        return has(codePoint) ? glyphOf[codePoint] : replacement;
    }
};

namespace {

using gfx_error::kFileNotFound;
using gfx_error::kNotAFont;
using gfx_error::kReadError;

// Generous for a text font, and small enough that a lying header cannot
// make the loader allocate much.
constexpr int kMaxGlyphWidth = 64;
constexpr int kMaxGlyphHeight = 128;
constexpr int kMaxGlyphs = 4096;
constexpr std::uintmax_t kMaxFontFileBytes = 4u * 1024u * 1024u;
// The Basic Multilingual Plane holds every script a 10-pixel console font
// draws; characters past it are drawn as the replacement.
constexpr char32_t kCodePointsMapped = 0x10000;

// The Unicode table ends each glyph's list with kListEnd; the combining
// sequences of a list start after kSequenceStart. Neither byte occurs in
// UTF-8.
constexpr std::uint8_t kListEnd = 0xFF;
constexpr std::uint8_t kSequenceStart = 0xFE;

const GfxFont* currentFont = nullptr;
// Until gfx_set_color picks one: the palette's last entry, which is not the
// background (entry 0) that gfx_clear lays.
std::uint8_t currentColour = 255;

void appendUtf8(std::vector<std::uint8_t>& bytes, char32_t codePoint) {
    const auto put = [&](std::uint32_t value) { bytes.push_back(static_cast<std::uint8_t>(value)); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

// The code point to glyph table; the first glyph a character is listed
// with wins.
bool buildGlyphTable(GfxFont& font, std::string& error) {
    const Psf2Font& psf = font.psf;
    std::vector<Psf2Mapping> mappings;
    if (psf.unicodeTable.empty()) {
        for (int glyph = 0; glyph < psf.glyphCount; ++glyph)
            mappings.push_back({static_cast<char32_t>(glyph), glyph});
    } else if (!readPsf2UnicodeTable(psf, mappings, error)) {
        return false;
    }
    char32_t highest = 0;
    for (const Psf2Mapping& mapping : mappings) {
        if (mapping.codePoint < kCodePointsMapped) highest = std::max(highest, mapping.codePoint);
    }
    font.glyphOf.assign(mappings.empty() ? 0 : highest + 1, GfxFont::kUnmapped);
    for (const Psf2Mapping& mapping : mappings) {
        if (mapping.codePoint >= kCodePointsMapped) continue;
        std::uint16_t& glyph = font.glyphOf[mapping.codePoint];
        if (glyph == GfxFont::kUnmapped) glyph = static_cast<std::uint16_t>(mapping.glyph);
    }
    font.replacement = font.has(kReplacementCharacter) ? font.glyphOf[kReplacementCharacter]
                       : font.has(U'?')               ? font.glyphOf[U'?']
                                                      : psf.glyphCount;
    return true;
}

}  // namespace

bool parsePsf2(std::span<const std::uint8_t> bytes, Psf2Font& font, std::string& error) {
    if (bytes.size() < kPsf2HeaderBytes || read_le32(bytes, 0) != kPsf2Magic) {
        error = "not a PSF2 font (bad magic number)";
        return false;
    }
    const std::uint32_t version = read_le32(bytes, 4);
    const std::uint32_t headerBytes = read_le32(bytes, 8);
    const std::uint32_t flags = read_le32(bytes, 12);
    const std::uint32_t count = read_le32(bytes, 16);
    const std::uint32_t glyphBytes = read_le32(bytes, 20);
    const std::uint32_t height = read_le32(bytes, 24);
    const std::uint32_t width = read_le32(bytes, 28);
    if (version != 0) {
        error = "unknown PSF2 version " + std::to_string(version);
        return false;
    }
    if (headerBytes < kPsf2HeaderBytes || headerBytes > bytes.size()) {
        error = "header size " + std::to_string(headerBytes) + " does not fit the file";
        return false;
    }
    if (width < 1 || width > kMaxGlyphWidth || height < 1 || height > kMaxGlyphHeight) {
        error =
            "glyph size " + std::to_string(width) + "x" + std::to_string(height) + " out of range";
        return false;
    }
    const std::uint32_t rowBytes = (width + 7) / 8;
    if (glyphBytes != rowBytes * height) {
        error = "glyph byte count " + std::to_string(glyphBytes) + " does not match the glyph size";
        return false;
    }
    if (count < 1 || count > kMaxGlyphs) {
        error = "glyph count " + std::to_string(count) + " out of range";
        return false;
    }
    const std::uint64_t glyphsEnd = std::uint64_t{headerBytes} + std::uint64_t{count} * glyphBytes;
    if (glyphsEnd > bytes.size()) {
        error = "file too short for " + std::to_string(count) + " glyphs";
        return false;
    }
    font.width = static_cast<int>(width);
    font.height = static_cast<int>(height);
    font.rowBytes = static_cast<int>(rowBytes);
    font.glyphBytes = static_cast<int>(glyphBytes);
    font.glyphCount = static_cast<int>(count);
    font.glyphs.assign(bytes.begin() + headerBytes,
                       bytes.begin() + static_cast<std::ptrdiff_t>(glyphsEnd));
    font.unicodeTable.clear();
    if (flags & kPsf2HasUnicodeTable) {
        font.unicodeTable.assign(bytes.begin() + static_cast<std::ptrdiff_t>(glyphsEnd),
                                 bytes.end());
    }
    return true;
}

std::vector<std::uint8_t> encodePsf2(const Psf2Font& font) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kPsf2HeaderBytes + font.glyphs.size());
    append_le32(bytes, kPsf2Magic);
    append_le32(bytes, 0);  // version
    append_le32(bytes, kPsf2HeaderBytes);
    append_le32(bytes, font.unicodeTable.empty() ? 0 : kPsf2HasUnicodeTable);
    append_le32(bytes, static_cast<std::uint32_t>(font.glyphCount));
    append_le32(bytes, static_cast<std::uint32_t>(font.glyphBytes));
    append_le32(bytes, static_cast<std::uint32_t>(font.height));
    append_le32(bytes, static_cast<std::uint32_t>(font.width));
    bytes.insert(bytes.end(), font.glyphs.begin(), font.glyphs.end());
    bytes.insert(bytes.end(), font.unicodeTable.begin(), font.unicodeTable.end());
    return bytes;
}

bool readPsf2UnicodeTable(const Psf2Font& font, std::vector<Psf2Mapping>& mappings,
                          std::string& error) {
    const std::string_view table(reinterpret_cast<const char*>(font.unicodeTable.data()),
                                 font.unicodeTable.size());
    std::size_t at = 0;
    for (int glyph = 0; glyph < font.glyphCount; ++glyph) {
        bool inSequences = false;
        for (;;) {
            if (at >= table.size()) {
                error = "the Unicode table ends at glyph " + std::to_string(glyph);
                return false;
            }
            const auto byte = static_cast<std::uint8_t>(table[at]);
            if (byte == kListEnd || byte == kSequenceStart) {
                ++at;
                if (byte == kListEnd) break;
                inSequences = true;
                continue;
            }
            char32_t codePoint = 0;
            if (readUtf8Character(table, at, codePoint) != Utf8Read::Complete) {
                error = "malformed UTF-8 in the Unicode table at glyph " + std::to_string(glyph);
                return false;
            }
            if (!inSequences) mappings.push_back({codePoint, glyph});
        }
    }
    return true;
}

std::vector<std::uint8_t> encodePsf2UnicodeTable(int glyphCount,
                                                 std::span<const Psf2Mapping> mappings) {
    std::vector<std::vector<char32_t>> lists(static_cast<std::size_t>(glyphCount));
    for (const Psf2Mapping& mapping : mappings) {
        if (mapping.glyph >= 0 && mapping.glyph < glyphCount)
            lists[static_cast<std::size_t>(mapping.glyph)].push_back(mapping.codePoint);
    }
    std::vector<std::uint8_t> table;
    for (const std::vector<char32_t>& list : lists) {
        for (const char32_t codePoint : list) appendUtf8(table, codePoint);
        table.push_back(kListEnd);
    }
    return table;
}

GfxFont* gfx_load_font(std::string_view file) {
    const std::string path = fw_native_path(file);
    std::error_code fsError;
    if (!std::filesystem::is_regular_file(path, fsError)) {
        gfx_set_result(kFileNotFound);
        return nullptr;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, fsError);
    if (fsError || size > kMaxFontFileBytes) {
        gfx_set_result(fsError ? kReadError : kNotAFont);
        return nullptr;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::ifstream stream(path, std::ios::binary);
    stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!stream || stream.gcount() != static_cast<std::streamsize>(bytes.size())) {
        gfx_set_result(kReadError);
        return nullptr;
    }
    auto font = std::make_unique<GfxFont>();
    std::string error;
    if (!parsePsf2(bytes, font->psf, error) || !buildGlyphTable(*font, error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        gfx_set_result(kNotAFont);
        return nullptr;
    }
    font->psf.unicodeTable.clear();  // glyphOf holds what it said
    font->psf.unicodeTable.shrink_to_fit();
    return font.release();
}

void gfx_free_font(GfxFont* font) {
    // Text drawn after the current font is freed draws nothing rather than
    // reading freed glyphs.
    if (font && font == currentFont) currentFont = nullptr;
    std::unique_ptr<GfxFont> owner(font);
}

void gfx_use_font(GfxFont* font) {
    if (font) currentFont = font;
}

void gfx_set_color(int paletteIndex) {
    currentColour = static_cast<std::uint8_t>(paletteIndex);
}

int gfx_text_width(std::string_view text) {
    return gfx_font_text_width(currentFont, text);
}

int gfx_font_text_width(const GfxFont* font, std::string_view text) {
    if (!font) return 0;
    // Every character advances by the width, drawn or not, exactly as
    // gfx_draw_text_to moves its pen.
    return font->psf.width * static_cast<int>(characterCount(text));
}

bool gfx_font_has_glyph(const GfxFont* font, char32_t codePoint) {
    return font && font->has(codePoint);
}

int gfx_font_height(const GfxFont* font) {
    return font ? font->psf.height : 0;
}

void gfx_draw_text(int x, int y, std::string_view text) {
    DrawContext* context = fw_draw_context();
    if (context) gfx_draw_text_to(*context, currentFont, x, y, text, currentColour);
}

void gfx_draw_text_to(DrawContext& context, const GfxFont* font, int x, int y,
                      std::string_view text, int paletteIndex) {
    if (!font || !context.pixels) return;
    const Psf2Font& psf = font->psf;
    const std::uint8_t colour = static_cast<std::uint8_t>(paletteIndex);
    // 64-bit positions: a long text far to the left must not wrap around.
    const std::int64_t left = std::max(context.clipLeft, 0);
    const std::int64_t right = std::min(context.clipRight, context.width - 1);
    const std::int64_t top = std::max<std::int64_t>({context.clipTop, 0, y});
    const std::int64_t bottom = std::min<std::int64_t>(
        {context.clipBottom, context.height - 1, std::int64_t{y} + psf.height - 1});
    if (left > right || top > bottom) return;

    std::int64_t penX = x;
    forEachCharacter(text, [&](char32_t codePoint) {
        const std::int64_t from = std::max(penX, left);
        const std::int64_t to = std::min(penX + psf.width - 1, right);
        const int glyph = font->glyphFor(codePoint);
        if (glyph < psf.glyphCount && from <= to) {
            for (std::int64_t row = top; row <= bottom; ++row) {
                std::uint8_t* line = context.pixels + row * context.bytesPerLine;
                const int glyphRow = static_cast<int>(row - y);
                for (std::int64_t column = from; column <= to; ++column) {
                    if (psf.pixel(glyph, static_cast<int>(column - penX), glyphRow))
                        line[column] = colour;
                }
            }
        }
        penX += psf.width;
    });
}
