// Fonts and text: PSF2 files, one colour, glyphs indexed by the text's bytes
// (Latin-1), the top-left corner of the first glyph at the given position.

#include "framework/gfx_font.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "framework/backend.h"
#include "framework/files.h"
#include "framework/gfx_errors.h"

struct GfxFont {
    Psf2Font psf;
};

namespace {

using gfx_error::kFileNotFound;
using gfx_error::kNotAFont;
using gfx_error::kReadError;

// Generous for a text font, and small enough that a lying header cannot
// make the loader allocate much.
constexpr int kMaxGlyphWidth = 64;
constexpr int kMaxGlyphHeight = 128;
constexpr int kMaxGlyphs = 512;
constexpr std::uintmax_t kMaxFontFileBytes = 4u * 1024u * 1024u;

const GfxFont* currentFont = nullptr;
// Until gfx_set_color picks one: the palette's last entry, which is not the
// background (entry 0) that gfx_clear lays.
std::uint8_t currentColour = 255;

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) |
           (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

void write32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

bool parsePsf2(std::span<const std::uint8_t> bytes, Psf2Font& font, std::string& error) {
    if (bytes.size() < kPsf2HeaderBytes || read32(bytes, 0) != kPsf2Magic) {
        error = "not a PSF2 font (bad magic number)";
        return false;
    }
    const std::uint32_t version = read32(bytes, 4);
    const std::uint32_t headerBytes = read32(bytes, 8);
    const std::uint32_t flags = read32(bytes, 12);
    const std::uint32_t count = read32(bytes, 16);
    const std::uint32_t glyphBytes = read32(bytes, 20);
    const std::uint32_t height = read32(bytes, 24);
    const std::uint32_t width = read32(bytes, 28);
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
    write32(bytes, kPsf2Magic);
    write32(bytes, 0);  // version
    write32(bytes, kPsf2HeaderBytes);
    write32(bytes, 0);  // flags: no unicode table
    write32(bytes, static_cast<std::uint32_t>(font.glyphCount));
    write32(bytes, static_cast<std::uint32_t>(font.glyphBytes));
    write32(bytes, static_cast<std::uint32_t>(font.height));
    write32(bytes, static_cast<std::uint32_t>(font.width));
    bytes.insert(bytes.end(), font.glyphs.begin(), font.glyphs.end());
    return bytes;
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
    if (!parsePsf2(bytes, font->psf, error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        gfx_set_result(kNotAFont);
        return nullptr;
    }
    font->psf.unicodeTable.clear();  // text is drawn by byte value: Latin-1
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
    return font->psf.width * static_cast<int>(text.size());
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
    for (const char c : text) {
        const int glyph = static_cast<unsigned char>(c);
        const std::int64_t from = std::max(penX, left);
        const std::int64_t to = std::min(penX + psf.width - 1, right);
        if (penX > right) break;
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
    }
}
