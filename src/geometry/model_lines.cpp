#include "geometry/model_lines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// What C's isspace accepts in the "C" locale; strtol and strtod skip these.
bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Stays far beyond any index or count the loader accepts, so a clamped
// value can never pass a range test by accident.
constexpr long long kIntegerClamp = 1LL << 40;

// A skip of a fixed number of characters never runs past the line's end.
std::size_t skipChars(std::string_view text, std::size_t pos, std::size_t count) {
    return std::min(text.size(), pos + count);
}

std::size_t skipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    return pos;
}

// Words of texture and property lines: runs of other characters between
// blanks, commas and tabs.
bool isWordDelimiter(char c) {
    return c == ' ' || c == ',' || c == '\t';
}

std::string_view nextWord(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && isWordDelimiter(text[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && !isWordDelimiter(text[pos])) ++pos;
    return text.substr(start, pos - start);
}

float toFloat(double value) {
    return static_cast<float>(value);
}

bool fitsFloat(double value) {
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

// Whole-token values of node lines: valid only when the number is the whole
// token; an empty token reads as 0.
enum class TokenValue { Valid, NotANumber, TooLarge };

TokenValue tokenInteger(std::string_view token, std::int32_t& value) {
    const IntegerRead read = readInteger(token, 0);
    if (read.end != token.size()) return TokenValue::NotANumber;
    if (!read.inRange) return TokenValue::TooLarge;
    value = static_cast<std::int32_t>(read.value);
    return TokenValue::Valid;
}

bool tokenReal(std::string_view token, double& value) {
    const RealRead read = readReal(token, 0);
    if (read.end != token.size() || !read.inRange) return false;
    value = read.value;
    return true;
}

// The power of ten of the leading digit of a decimal number (digits, an
// optional point and digits, an optional exponent): 1.2e3 gives 3, 0.05
// gives -2, and a zero 0. The exponent is clamped far beyond any double's,
// so no count can overflow however many digits the text holds.
long long leadingPowerOfTen(std::string_view number) {
    constexpr long long kClamp = 1'000'000;
    long long integerDigits = 0;
    long long leadingInteger = -1;   // index of the leading digit before the point
    long long leadingFraction = -1;  // or after it
    std::size_t p = 0;
    for (; p < number.size() && isDigit(number[p]); ++p, ++integerDigits) {
        if (leadingInteger < 0 && number[p] != '0') leadingInteger = integerDigits;
    }
    if (p < number.size() && number[p] == '.') {
        for (long long place = 0; ++p < number.size() && isDigit(number[p]); ++place) {
            if (leadingInteger < 0 && leadingFraction < 0 && number[p] != '0')
                leadingFraction = place;
        }
    }
    long long power = 0;
    if (leadingInteger >= 0) {
        power = integerDigits - 1 - leadingInteger;
    } else if (leadingFraction >= 0) {
        power = -(leadingFraction + 1);
    } else {
        return 0;
    }
    long long exponent = 0;
    if (p < number.size() && (number[p] == 'e' || number[p] == 'E')) {
        ++p;
        const bool negative = p < number.size() && number[p] == '-';
        if (p < number.size() && (number[p] == '+' || number[p] == '-')) ++p;
        for (; p < number.size() && isDigit(number[p]); ++p) {
            if (exponent < kClamp) exponent = exponent * 10 + (number[p] - '0');
        }
        if (negative) exponent = -exponent;
    }
    return power + exponent;
}

// Skips the blanks before a number and its sign; true for a minus.
bool skipBlanksAndSign(std::string_view text, std::size_t& p) {
    while (p < text.size() && isCSpace(text[p])) ++p;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) return text[p++] == '-';
    return false;
}

}  // namespace

IntegerRead readInteger(std::string_view text, std::size_t pos) {
    IntegerRead read;
    read.end = pos;
    std::size_t p = pos;
    const bool negative = skipBlanksAndSign(text, p);
    if (p >= text.size() || !isDigit(text[p])) return read;
    long long magnitude = 0;
    while (p < text.size() && isDigit(text[p])) {
        if (magnitude < kIntegerClamp) magnitude = magnitude * 10 + (text[p] - '0');
        ++p;
    }
    if (magnitude >= kIntegerClamp) magnitude = kIntegerClamp;
    read.value = negative ? -magnitude : magnitude;
    read.converted = true;
    read.end = p;
    read.inRange = read.value >= std::numeric_limits<std::int32_t>::min() &&
                   read.value <= std::numeric_limits<std::int32_t>::max();
    return read;
}

std::int32_t readLineNumber(std::string_view line) {
    // readInteger reads 0 where no digit follows; its clamp is wider than 32 bits.
    const long long value = readInteger(line, 0).value;
    return static_cast<std::int32_t>(std::clamp<long long>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

RealRead readReal(std::string_view text, std::size_t pos) {
    RealRead read;
    read.end = pos;
    std::size_t p = pos;
    const bool negative = skipBlanksAndSign(text, p);
    const std::size_t start = p;
    std::size_t digits = 0;
    while (p < text.size() && isDigit(text[p])) {
        ++p;
        ++digits;
    }
    if (p < text.size() && text[p] == '.') {
        ++p;
        while (p < text.size() && isDigit(text[p])) {
            ++p;
            ++digits;
        }
    }
    if (digits == 0) return read;
    // An exponent counts only with at least one digit, as in strtod.
    if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
        std::size_t q = p + 1;
        if (q < text.size() && (text[q] == '+' || text[q] == '-')) ++q;
        if (q < text.size() && isDigit(text[q])) {
            while (q < text.size() && isDigit(text[q])) ++q;
            p = q;
        }
    }
    double magnitude = 0.0;
    const auto result = std::from_chars(text.data() + start, text.data() + p, magnitude,
                                        std::chars_format::general);
    read.converted = true;
    read.end = p;
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched then, so only the exponent
        // tells the two apart: underflow reads as 0 like strtod, overflow
        // is out of range.
        read.value = 0.0;
        read.inRange = leadingPowerOfTen(text.substr(start, p - start)) < 0;
        return read;
    }
    read.value = negative ? -magnitude : magnitude;
    read.inRange = fitsFloat(read.value);
    return read;
}

bool parseCountLine(std::string_view line, long long& value) {
    const IntegerRead read = readInteger(line, 0);
    if (read.end != line.size()) return false;
    value = read.value;
    return true;
}

bool parsePointLine(std::string_view line, Vec3& point) {
    float values[3] = {};
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        const RealRead read = readReal(line, pos);
        if (!read.inRange) return false;
        values[i] = toFloat(read.value);
        pos = skipBlanks(line, skipChars(line, read.end, 2));
    }
    point.set(values[0], values[1], values[2]);
    return true;
}

void parseIndexList(std::string_view line, std::vector<long long>& indices) {
    indices.clear();
    std::size_t pos = 0;
    for (;;) {
        const IntegerRead read = readInteger(line, pos);
        indices.push_back(read.value);
        if (read.end >= line.size() || line[read.end] != ',') break;
        pos = skipChars(line, read.end, 2);
    }
}

bool parseTextureLine(std::string_view line, TextureLine& texture) {
    const IntegerRead width = readInteger(line, 0);
    const IntegerRead height = readInteger(line, skipChars(line, width.end, 1));
    std::size_t pos = height.end;
    const std::string_view name = nextWord(line, pos);
    const std::string_view file = nextWord(line, pos);
    if (name.empty() || file.empty()) return false;
    texture.width = width.value;
    texture.height = height.value;
    texture.name = std::string(name);
    texture.file = std::string(file);
    return true;
}

bool parsePropertyLine(std::string_view line, PropertyLine& property) {
    const IntegerRead kind = readInteger(line, 0);
    if (kind.value < 0 || kind.value > 5) return false;
    property.kind = static_cast<int>(kind.value);
    std::size_t pos = skipChars(line, kind.end, 2);
    if (property.kind < 3) {
        property.colour = readInteger(line, pos).value;
        property.textureName.clear();
        return true;
    }
    const std::string_view name = nextWord(line, pos);
    if (name.empty()) return false;
    property.textureName = std::string(name);
    return true;
}

bool parseCorrespondenceLine(std::string_view line, Vec3& vector) {
    float values[3] = {};
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        while (pos < line.size() && (line[pos] == ',' || line[pos] == ' ')) ++pos;
        const std::size_t start = pos;
        while (pos < line.size() && line[pos] != ',' && line[pos] != ' ') ++pos;
        if (start == pos) break;
        const RealRead read = readReal(line.substr(start, pos - start), 0);
        if (!read.inRange) return false;
        values[i] = toFloat(read.value);
    }
    vector.set(values[0], values[1], values[2]);
    return true;
}

bool parseNodeLine(std::string_view line, long long position, NodeLine& node, std::string& reason) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        reason = "node line without a colon";
        return false;
    }
    long long number = 0;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = line[i];
        if (c == ' ') continue;
        if (!isDigit(c)) {
            reason =
                "node number '" + std::string(line.substr(0, colon)) + "' is not a plain number";
            return false;
        }
        if (number < kIntegerClamp) number = number * 10 + (c - '0');
    }
    if (number != position) {
        reason = "node line " + std::to_string(position) + " is numbered " +
                 std::string(line.substr(0, colon));
        return false;
    }
    // The character after the colon is always skipped, blank or not.
    if (line.size() <= colon + 2) {
        reason = "nothing follows the colon of node line " + std::to_string(position);
        return false;
    }

    // Tokens are set off by single blanks: two blanks make an empty token,
    // a blank ending the line makes none.
    std::vector<std::string_view> tokens;
    std::string_view rest = line.substr(colon + 2);
    for (;;) {
        const std::size_t blank = rest.find(' ');
        if (blank == std::string_view::npos) {
            tokens.push_back(rest);
            break;
        }
        tokens.push_back(rest.substr(0, blank));
        rest = rest.substr(blank + 1);
        if (rest.empty()) break;
    }

    NodeLine result;
    std::size_t i = 0;
    while (i < tokens.size()) {
        const std::string_view word = tokens[i++];
        std::int32_t* integerField = nullptr;
        if (word == "polygon")
            integerField = &result.polygon;
        else if (word == "frontlist")
            integerField = &result.frontlist;
        else if (word == "backlist")
            integerField = &result.backlist;
        else if (word == "fronttree")
            integerField = &result.fronttree;
        else if (word == "backtree")
            integerField = &result.backtree;

        if (integerField) {
            if (i >= tokens.size()) break;
            const std::string_view token = tokens[i++];
            std::int32_t value = 0;
            const TokenValue read = tokenInteger(token, value);
            if (read == TokenValue::Valid) *integerField = value;
            // Skipping it would leave the node silently without its link.
            if (read == TokenValue::TooLarge) {
                reason = "node " + std::to_string(position) + ": " + std::string(word) + " " +
                         std::string(token) + " is beyond any node or polygon number";
                return false;
            }
        } else if (word == "plane") {
            // Values are stored as they are read; an invalid one ends the
            // keyword and the numbers after it are read as words.
            for (int k = 0; k < 4 && i < tokens.size(); ++k) {
                double value = 0.0;
                if (!tokenReal(tokens[i++], value) || std::fabs(value) >= 2147483648.0) break;
                result.plane[k] = static_cast<std::int32_t>(value);  // truncates toward zero
            }
        } else if (word == "boundingbox") {
            float* const fields[6] = {&result.bounds[0].x, &result.bounds[0].y,
                                      &result.bounds[0].z, &result.bounds[1].x,
                                      &result.bounds[1].y, &result.bounds[1].z};
            for (int k = 0; k < 6 && i < tokens.size(); ++k) {
                double value = 0.0;
                if (!tokenReal(tokens[i++], value)) break;
                *fields[k] = toFloat(value);
            }
        }
    }
    node = result;
    return true;
}
