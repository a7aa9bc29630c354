#include "framework/text_decode.h"

#include "framework/files.h"

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes of the character a lead byte starts; 0 for a byte that starts none
// (a continuation byte, an overlong lead, or one past U+10FFFF).
int lengthOf(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead < 0xC2) return 0;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    if (lead < 0xF5) return 4;
    return 0;
}

// The second byte carries what makes a sequence overlong, a surrogate or
// too large.
bool isValidSecond(unsigned char lead, unsigned char second) {
    switch (lead) {
    case 0xE0: return second >= 0xA0 && second <= 0xBF;
    case 0xED: return second >= 0x80 && second <= 0x9F;
    case 0xF0: return second >= 0x90 && second <= 0xBF;
    case 0xF4: return second >= 0x80 && second <= 0x8F;
    default: return isContinuation(second);
    }
}

}  // namespace

Utf8Read readUtf8Character(std::string_view bytes, std::size_t& at, char32_t& codePoint) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byteAt(at);
    const int length = lengthOf(lead);
    if (length == 0) return Utf8Read::Invalid;
    char32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
    for (int i = 1; i < length; ++i) {
        if (at + i >= bytes.size()) return Utf8Read::Cut;
        const unsigned char next = byteAt(at + i);
        if (i == 1 ? !isValidSecond(lead, next) : !isContinuation(next)) return Utf8Read::Invalid;
        value = (value << 6) | (next & 0x3Fu);
    }
    at += static_cast<std::size_t>(length);
    codePoint = value;
    return Utf8Read::Complete;
}

LineDecoding decodingOf(std::string_view line) {
    std::size_t at = 0;
    char32_t codePoint = 0;
    while (at < line.size()) {
        if (static_cast<unsigned char>(line[at]) < 0x80) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        switch (readUtf8Character(line, at, codePoint)) {
        case Utf8Read::Complete: break;
        case Utf8Read::Invalid: return {};
        case Utf8Read::Cut:
            // Only the line limit cuts a character in a UTF-8 file; a short
            // line ending in a lone lead byte is Latin-1 ("café" ends in E9).
            if (line.size() == TextFile::kMaxLine) return {true, start};
            return {};
        }
    }
    return {true, line.size()};
}

std::size_t characterCount(std::string_view line) {
    const LineDecoding decoding = decodingOf(line);
    if (!decoding.utf8) return line.size();
    std::size_t count = 0;
    for (std::size_t at = 0; at < decoding.utf8End; ++at) {
        count += !isContinuation(static_cast<unsigned char>(line[at]));
    }
    return count + (decoding.utf8End < line.size() ? 1 : 0);
}
