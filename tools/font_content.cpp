// Content step: the game's font, Fonts/Cour20b.fnt, made from the bold
// 10x20 Terminus console fonts that Debian ships, with its licence beside it.
//
// Glyphs 0-255 are the Latin-1 characters at their codes, as the game's font
// always had them; after them come the other characters of a few console
// fonts of the same face (Latin Extended-A, Greek, Cyrillic, punctuation),
// each bitmap once, and a Unicode table that maps every character to its
// glyph (docs/font-format.md).

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "command.h"
#include "framework/gfx_font.h"
#include "framework/text_decode.h"

namespace {

constexpr const char* kFontFolder = "/usr/share/consolefonts/";
// The Latin-1 glyphs come from the first; later ones only add characters the
// earlier lack. Each console font holds at most 512 glyphs, so no one of
// them has all the scripts a quiz may be written in.
constexpr const char* kSourceFonts[] = {
    "Lat15-TerminusBold20x10.psf.gz",  // Latin-1: glyphs 0-255 as they always were
    "Uni2-TerminusBold20x10.psf.gz",   // Latin Extended-A, Greek, Cyrillic, punctuation
    "Uni3-TerminusBold20x10.psf.gz",   // more Cyrillic
    "Vietnamese-TerminusBold20x10.psf.gz",
    "CyrAsia-TerminusBold20x10.psf.gz",
};
// Combining marks would be drawn in a cell of their own beside the letter
// they belong on: better shown as missing, which krvtool check warns of.
// Right-to-left scripts (the Hebrew console font) are left out likewise.
constexpr char32_t kCombiningFirst = 0x300;
constexpr char32_t kCombiningLast = 0x36F;
constexpr int kGlyphWidth = 10;
constexpr int kGlyphHeight = 20;
constexpr std::size_t kMaxFontBytes = 4 * 1024 * 1024;

bool gunzip(const char* path, std::vector<std::uint8_t>& bytes) {
    gzFile file = gzopen(path, "rb");
    if (!file) return false;
    std::array<std::uint8_t, 16384> chunk{};
    bool ok = true;
    for (;;) {
        const int count = gzread(file, chunk.data(), static_cast<unsigned>(chunk.size()));
        if (count < 0 || bytes.size() + static_cast<std::size_t>(count) > kMaxFontBytes) {
            ok = false;
            break;
        }
        if (count == 0) break;
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + count);
    }
    gzclose(file);
    return ok;
}

bool isControlCode(int code) {
    return code < 0x20 || (code >= 0x7F && code < 0xA0);
}

bool writeFile(const std::filesystem::path& path, const void* data, std::size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(file);
}

constexpr const char* kLicence =
    R"(Fonts/Cour20b.fnt, the font of all the game's text, is made at build time
from the console font Lat15-TerminusBold20x10 of Debian's package
console-setup-linux, which is Terminus Font, bold, 10 by 20 pixels, with
the characters that its sister fonts Uni2, Uni3, Vietnamese and CyrAsia of
the same size add. The glyphs for U+0000 to U+00FF were moved to their
Latin-1 codes, the control codes left blank, the other glyphs put after
them once each, and the Unicode table rewritten to match. It is therefore
a Modified Version of Terminus Font under the licence below; it does not
use the Reserved Font Name.

Copyright (C) 2020 Dimitar Toshkov Zhekov

Debian's copyright file for console-setup states that all console fonts are
public domain by nature, and for the Terminus source fonts (ter-u20b.bdf
among them):

  Terminus Font is licensed under the SIL Open Font License, Version 1.1.

  Copyright (c) 2010 Dimitar Toshkov Zhekov,
  with Reserved Font Name "Terminus Font".

  To avoid name conflicts with other products named "Terminus", the
  archive should be distributed as "Terminus Font", not "Terminus".

)";

constexpr const char* kOpenFontLicence =
    R"(-----------------------------------------------------------
SIL OPEN FONT LICENSE Version 1.1 - 26 February 2007
-----------------------------------------------------------

PREAMBLE
The goals of the Open Font License (OFL) are to stimulate worldwide
development of collaborative font projects, to support the font creation
efforts of academic and linguistic communities, and to provide a free and
open framework in which fonts may be shared and improved in partnership
with others.

The OFL allows the licensed fonts to be used, studied, modified and
redistributed freely as long as they are not sold by themselves. The
fonts, including any derivative works, can be bundled, embedded, 
redistributed and/or sold with any software provided that any reserved
names are not used by derivative works. The fonts and derivatives,
however, cannot be released under any other type of license. The
requirement for fonts to remain under this license does not apply
to any document created using the fonts or their derivatives.

DEFINITIONS
"Font Software" refers to the set of files released by the Copyright
Holder(s) under this license and clearly marked as such. This may
include source files, build scripts and documentation.

"Reserved Font Name" refers to any names specified as such after the
copyright statement(s).

"Original Version" refers to the collection of Font Software components as
distributed by the Copyright Holder(s).

"Modified Version" refers to any derivative made by adding to, deleting,
or substituting -- in part or in whole -- any of the components of the
Original Version, by changing formats or by porting the Font Software to a
new environment.

"Author" refers to any designer, engineer, programmer, technical
writer or other person who contributed to the Font Software.

PERMISSION & CONDITIONS
Permission is hereby granted, free of charge, to any person obtaining
a copy of the Font Software, to use, study, copy, merge, embed, modify,
redistribute, and sell modified and unmodified copies of the Font
Software, subject to the following conditions:

1) Neither the Font Software nor any of its individual components,
in Original or Modified Versions, may be sold by itself.

2) Original or Modified Versions of the Font Software may be bundled,
redistributed and/or sold with any software, provided that each copy
contains the above copyright notice and this license. These can be
included either as stand-alone text files, human-readable headers or
in the appropriate machine-readable metadata fields within text or
binary files as long as those fields can be easily viewed by the user.

3) No Modified Version of the Font Software may use the Reserved Font
Name(s) unless explicit written permission is granted by the corresponding
Copyright Holder. This restriction only applies to the primary font name as
presented to the users.

4) The name(s) of the Copyright Holder(s) or the Author(s) of the Font
Software shall not be used to promote, endorse or advertise any
Modified Version, except to acknowledge the contribution(s) of the
Copyright Holder(s) and the Author(s) or with their explicit written
permission.

5) The Font Software, modified or unmodified, in part or in whole,
must be distributed entirely under this license, and must not be
distributed under any other license. The requirement for fonts to
remain under this license does not apply to any document created
using the Font Software.

TERMINATION
This license becomes null and void if any of the above conditions are
not met.

DISCLAIMER
THE FONT SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND,
EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO ANY WARRANTIES OF
MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT
OF COPYRIGHT, PATENT, TRADEMARK, OR OTHER RIGHT. IN NO EVENT SHALL THE
COPYRIGHT HOLDER BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY,
INCLUDING ANY GENERAL, SPECIAL, INDIRECT, INCIDENTAL, OR CONSEQUENTIAL
DAMAGES, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING
FROM, OUT OF THE USE OR INABILITY TO USE THE FONT SOFTWARE OR FROM
OTHER DEALINGS IN THE FONT SOFTWARE.
)";

using Bitmap = std::vector<std::uint8_t>;

// Every single character of a console font with its glyph's bitmap, the
// first glyph listed winning.
bool readSourceFont(const std::string& name, std::map<char32_t, Bitmap>& bitmaps) {
    const std::string path = std::string(kFontFolder) + name;
    std::vector<std::uint8_t> bytes;
    if (!gunzip(path.c_str(), bytes)) {
        std::fprintf(stderr, "%s: cannot read (package console-setup-linux)\n", path.c_str());
        return false;
    }
    Psf2Font source;
    std::string error;
    std::vector<Psf2Mapping> mappings;
    if (!parsePsf2(bytes, source, error) || !readPsf2UnicodeTable(source, mappings, error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    if (source.width != kGlyphWidth || source.height != kGlyphHeight || mappings.empty()) {
        std::fprintf(stderr, "%s: expected 10x20 glyphs with a Unicode table\n", path.c_str());
        return false;
    }
    const auto glyphSize = static_cast<std::size_t>(source.glyphBytes);
    for (const Psf2Mapping& mapping : mappings) {
        const auto first = source.glyphs.begin() +
                           static_cast<std::ptrdiff_t>(mapping.glyph * glyphSize);
        bitmaps.emplace(mapping.codePoint, Bitmap(first, first + static_cast<std::ptrdiff_t>(glyphSize)));
    }
    return true;
}

// Glyphs 0-255 by Latin-1 code, then every further bitmap once; each
// character maps to the first glyph with its bitmap.
Psf2Font buildFont(const std::map<char32_t, Bitmap>& latin1, const std::map<char32_t, Bitmap>& all) {
    Psf2Font font;
    font.width = kGlyphWidth;
    font.height = kGlyphHeight;
    font.rowBytes = (kGlyphWidth + 7) / 8;
    font.glyphBytes = font.rowBytes * kGlyphHeight;
    const Bitmap blank(static_cast<std::size_t>(font.glyphBytes), 0);
    std::map<Bitmap, int> glyphOfBitmap;
    std::vector<Psf2Mapping> mappings;
    const auto addGlyph = [&](const Bitmap& bitmap) {
        font.glyphs.insert(font.glyphs.end(), bitmap.begin(), bitmap.end());
        glyphOfBitmap.emplace(bitmap, font.glyphCount);
        return font.glyphCount++;
    };
    const Bitmap& question = latin1.at(U'?');
    for (char32_t code = 0; code < 256; ++code) {
        const auto found = latin1.find(code);
        const Bitmap& bitmap = isControlCode(static_cast<int>(code)) ? blank
                               : found != latin1.end()                ? found->second
                                                                      : question;
        mappings.push_back({code, addGlyph(bitmap)});
    }
    for (const auto& [code, bitmap] : all) {
        if (code < 256 || (code >= kCombiningFirst && code <= kCombiningLast)) continue;
        const auto known = glyphOfBitmap.find(bitmap);
        mappings.push_back({code, known != glyphOfBitmap.end() ? known->second : addGlyph(bitmap)});
    }
    font.unicodeTable = encodePsf2UnicodeTable(font.glyphCount, mappings);
    return font;
}

bool makeFont(const std::string& /*sourceFolder*/, const std::string& gameFolder) {
    std::map<char32_t, Bitmap> latin1;
    if (!readSourceFont(kSourceFonts[0], latin1)) return false;
    std::map<char32_t, Bitmap> all = latin1;
    for (const char* name : std::span(kSourceFonts).subspan(1)) {
        if (!readSourceFont(name, all)) return false;
    }
    if (!latin1.contains(U'?') || !all.contains(kReplacementCharacter)) {
        std::fprintf(stderr, "%s%s: no glyph for '?' or U+FFFD\n", kFontFolder, kSourceFonts[0]);
        return false;
    }
    const Psf2Font font = buildFont(latin1, all);

    const std::filesystem::path fonts = std::filesystem::path(gameFolder) / "Fonts";
    const std::vector<std::uint8_t> file = encodePsf2(font);
    const std::string licence = std::string(kLicence) + kOpenFontLicence;
    if (!writeFile(fonts / "Cour20b.fnt", file.data(), file.size()) ||
        !writeFile(fonts / "Cour20b.LICENSE.txt", licence.data(), licence.size())) {
        std::fprintf(stderr, "cannot write the font into %s\n", fonts.string().c_str());
        return false;
    }
    return true;
}

const ContentStepRegistration step(25, "font", makeFont);

}  // namespace
