#include "framework/pc_keys.h"

#include <array>
#include <string_view>

namespace {

// Scan codes run along the keyboard rows; the gaps are keys that type nothing
// (Ctrl 29, Shift 42 and 54, Alt 56, Caps Lock 58, the function keys from
// 59, the keypad's arrows from 71).
constexpr std::array<char, 84> kCharacters = [] {
    std::array<char, 84> table{};
    const auto row = [&table](int first, std::string_view keys) {
        for (std::size_t i = 0; i < keys.size(); ++i) table[first + i] = keys[i];
    };
    table[1] = 27;
    row(2, "1234567890-=");
    table[14] = 8;
    row(15, "\tqwertyuiop[]");
    table[28] = 13;
    row(30, "asdfghjkl;'`");
    row(43, "\\zxcvbnm,./");
    table[55] = '*';
    table[57] = ' ';
    table[74] = '-';
    table[78] = '+';
    return table;
}();

}  // namespace

int pc_key_character(int scanCode) {
    if (scanCode < 0 || scanCode >= static_cast<int>(kCharacters.size())) return 0;
    return static_cast<unsigned char>(kCharacters[scanCode]);
}
