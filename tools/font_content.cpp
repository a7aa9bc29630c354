// Content step: the game's font, Fonts/Cour20b.fnt, made from the bold
// 10x20 Terminus console font that Debian ships, with its licence beside it.
//
// The console font is indexed through its Unicode table; the game draws text
// by byte value, so each Latin-1 character's glyph is moved to its code and
// the table dropped (docs/font-format.md).

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "command.h"
#include "framework/gfx_font.h"

namespace {

constexpr const char* kSourceFont = "/usr/share/consolefonts/Lat15-TerminusBold20x10.psf.gz";
constexpr int kGlyphWidth = 10;
constexpr int kGlyphHeight = 20;
constexpr std::size_t kMaxFontBytes = 4 * 1024 * 1024;

// The Unicode table ends each glyph's list with this byte; a list of
// combining sequences starts with kSequenceStart.
constexpr std::uint8_t kListEnd = 0xFF;
constexpr std::uint8_t kSequenceStart = 0xFE;

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

// Decodes one UTF-8 character at `at`; false on a malformed one.
bool decodeUtf8(const std::vector<std::uint8_t>& bytes, std::size_t& at, char32_t& codePoint) {
    const std::uint8_t lead = bytes[at];
    int extra = 0;
    if (lead < 0x80) {
        codePoint = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        codePoint = lead & 0x1F;
        extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
        codePoint = lead & 0x0F;
        extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
        codePoint = lead & 0x07;
        extra = 3;
    } else {
        return false;
    }
    if (at + extra >= bytes.size()) return false;
    for (int i = 1; i <= extra; ++i) {
        const std::uint8_t next = bytes[at + i];
        if ((next & 0xC0) != 0x80) return false;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    at += static_cast<std::size_t>(extra) + 1;
    return true;
}

// Code point -> glyph for single characters; the first glyph listed wins.
bool readUnicodeTable(const Psf2Font& font, std::map<char32_t, int>& glyphOf, std::string& error) {
    const std::vector<std::uint8_t>& table = font.unicodeTable;
    std::size_t at = 0;
    for (int glyph = 0; glyph < font.glyphCount; ++glyph) {
        bool inSequences = false;
        for (;;) {
            if (at >= table.size()) {
                error = "the Unicode table ends at glyph " + std::to_string(glyph);
                return false;
            }
            if (table[at] == kListEnd) {
                ++at;
                break;
            }
            if (table[at] == kSequenceStart) {
                inSequences = true;
                ++at;
                continue;
            }
            char32_t codePoint = 0;
            if (!decodeUtf8(table, at, codePoint)) {
                error = "malformed UTF-8 in the Unicode table at glyph " + std::to_string(glyph);
                return false;
            }
            if (!inSequences) glyphOf.emplace(codePoint, glyph);
        }
    }
    return true;
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
console-setup-linux, which is Terminus Font, bold, 10 by 20 pixels. Its
glyphs for U+0000 to U+00FF were moved to their Latin-1 codes, the control
codes left blank, and the file rewritten without its Unicode table. It is
therefore a Modified Version of Terminus Font under the licence below; it
does not use the Reserved Font Name.

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

bool makeFont(const std::string& /*sourceFolder*/, const std::string& gameFolder) {
    std::vector<std::uint8_t> bytes;
    if (!gunzip(kSourceFont, bytes)) {
        std::fprintf(stderr, "%s: cannot read (package console-setup-linux)\n", kSourceFont);
        return false;
    }
    Psf2Font source;
    std::string error;
    if (!parsePsf2(bytes, source, error)) {
        std::fprintf(stderr, "%s: %s\n", kSourceFont, error.c_str());
        return false;
    }
    if (source.width != kGlyphWidth || source.height != kGlyphHeight ||
        source.unicodeTable.empty()) {
        std::fprintf(stderr, "%s: expected 10x20 glyphs with a Unicode table\n", kSourceFont);
        return false;
    }
    std::map<char32_t, int> glyphOf;
    if (!readUnicodeTable(source, glyphOf, error)) {
        std::fprintf(stderr, "%s: %s\n", kSourceFont, error.c_str());
        return false;
    }
    const auto question = glyphOf.find(U'?');
    if (question == glyphOf.end()) {
        std::fprintf(stderr, "%s: no glyph for '?'\n", kSourceFont);
        return false;
    }

    Psf2Font font;
    font.width = source.width;
    font.height = source.height;
    font.rowBytes = source.rowBytes;
    font.glyphBytes = source.glyphBytes;
    font.glyphCount = 256;
    font.glyphs.assign(static_cast<std::size_t>(font.glyphCount) * font.glyphBytes, 0);
    const auto glyphSize = static_cast<std::size_t>(font.glyphBytes);
    for (int code = 0; code < 256; ++code) {
        if (isControlCode(code)) continue;
        const auto found = glyphOf.find(static_cast<char32_t>(code));
        const int glyph = found != glyphOf.end() ? found->second : question->second;
        std::copy_n(source.glyphs.begin() + static_cast<std::ptrdiff_t>(glyph * glyphSize),
                    glyphSize, font.glyphs.begin() + static_cast<std::ptrdiff_t>(code * glyphSize));
    }

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
