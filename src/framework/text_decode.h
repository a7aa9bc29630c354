#pragma once
// The characters of a line of text. Files are read and limited by bytes;
// only drawing and measuring see characters, decided line by line:
//
// - a line that is valid UTF-8 is read as UTF-8, what today's editors save;
// - any other line is read byte by byte as Latin-1, so older files written
//   that way show as they always did;
// - a line of exactly TextFile::kMaxLine bytes whose only fault is its last
//   character, cut short by that limit, is its UTF-8 characters before the
//   cut and one replacement mark for the cut one.
//
// Plain ASCII reads the same either way. A byte order mark is no business
// of this: TextFile drops it from the start of a file.

#include <cstddef>
#include <string_view>

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

struct LineDecoding {
    bool utf8 = false;  // else Latin-1, one character per byte
    // UTF-8 lines: where their complete characters end. Short of the line's
    // length only when its last character was cut by the line limit.
    std::size_t utf8End = 0;
};

LineDecoding decodingOf(std::string_view line);

enum class Utf8Read { Complete, Cut, Invalid };
// One UTF-8 character at `at`: when Complete, its code point, and `at` moved
// past it. Cut: a valid start that the bytes end in. Overlong forms,
// surrogates and code points past U+10FFFF are Invalid.
Utf8Read readUtf8Character(std::string_view bytes, std::size_t& at, char32_t& codePoint);

// Calls visit(codePoint) for every character of the line, in order.
template <typename Visit>
void forEachCharacter(std::string_view line, Visit&& visit) {
    const LineDecoding decoding = decodingOf(line);
    if (!decoding.utf8) {
        for (const char byte : line) visit(static_cast<char32_t>(static_cast<unsigned char>(byte)));
        return;
    }
    std::size_t at = 0;
    char32_t codePoint = 0;
    while (at < decoding.utf8End) {
        readUtf8Character(line, at, codePoint);
        visit(codePoint);
    }
    if (decoding.utf8End < line.size()) visit(kReplacementCharacter);
}

std::size_t characterCount(std::string_view line);
