#pragma once
// The browser build's libc++ (Debian's emscripten 3.1.6) has std::to_chars
// for integers only. This fills in the float overload the model writer uses
// (tools/maze/model_data.cpp), with the same result, so the quiz maker page
// writes the models `krvtool` writes byte for byte: the fewest digits that
// read back as the same float, as fixed or scientific, whichever is shorter
// (fixed on a tie; a whole number in fixed with all its exact digits). Force-included for the quiz maker module only.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace std {

inline to_chars_result to_chars(char* first, char* last, float value) {
    std::string text = value < 0 || (value == 0 && std::signbit(value)) ? "-" : "";
    const float magnitude = value < 0 ? -value : value;
    char scientific[32];
    int precision = 1;
    for (; precision <= 9; ++precision) {
        std::snprintf(scientific, sizeof scientific, "%.*e", precision - 1, static_cast<double>(magnitude));
        if (std::strtof(scientific, nullptr) == magnitude) break;
    }
    // "d.ddde±xx": the digits and the exponent.
    std::string digits;
    const char* at = scientific;
    for (; *at && *at != 'e'; ++at) {
        if (*at != '.') digits += *at;
    }
    const int exponent = std::atoi(at + 1);
    const int count = static_cast<int>(digits.size());

    std::string fixed;
    if (exponent >= count - 1) {
        // A whole number: its exact digits, as printf writes it, not the
        // shortest digits padded with zeros.
        char whole[64];
        std::snprintf(whole, sizeof whole, "%.0f", static_cast<double>(magnitude));
        fixed = whole;
    } else if (exponent >= 0) {
        fixed = digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
    } else {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    char exponentText[8];
    std::snprintf(exponentText, sizeof exponentText, "e%c%02d", exponent < 0 ? '-' : '+',
                  exponent < 0 ? -exponent : exponent);
    const std::string sci = digits.substr(0, 1) + (count > 1 ? "." + digits.substr(1) : "") + exponentText;
    text += sci.size() < fixed.size() ? sci : fixed;

    if (static_cast<std::ptrdiff_t>(text.size()) > last - first) return {last, errc::value_too_large};
    std::memcpy(first, text.data(), text.size());
    return {first + text.size(), errc()};
}

}  // namespace std
