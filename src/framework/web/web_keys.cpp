#include "framework/web/web_keys.h"

#include <iterator>

#include "framework/pc_keys.h"

namespace {

struct KeyEntry {
    std::string_view code;
    unsigned char scanCode;
};

// The same codes as the desktop's table, by the browser's names for the
// physical keys; the characters are every backend's (framework/pc_keys.h).
constexpr KeyEntry kKeys[] = {
    {"Escape", 1},
    {"Digit1", 2},
    {"Digit2", 3},
    {"Digit3", 4},
    {"Digit4", 5},
    {"Digit5", 6},
    {"Digit6", 7},
    {"Digit7", 8},
    {"Digit8", 9},
    {"Digit9", 10},
    {"Digit0", 11},
    {"Minus", 12},
    {"Equal", 13},
    {"Backspace", 14},
    {"Tab", 15},
    {"KeyQ", 16},
    {"KeyW", 17},
    {"KeyE", 18},
    {"KeyR", 19},
    {"KeyT", 20},
    {"KeyY", 21},
    {"KeyU", 22},
    {"KeyI", 23},
    {"KeyO", 24},
    {"KeyP", 25},
    {"BracketLeft", 26},
    {"BracketRight", 27},
    {"Enter", 28},
    {"NumpadEnter", 28},
    {"ControlLeft", 29},
    {"ControlRight", 29},
    {"KeyA", 30},
    {"KeyS", 31},
    {"KeyD", 32},
    {"KeyF", 33},
    {"KeyG", 34},
    {"KeyH", 35},
    {"KeyJ", 36},
    {"KeyK", 37},
    {"KeyL", 38},
    {"Semicolon", 39},
    {"Quote", 40},
    {"Backquote", 41},
    {"ShiftLeft", 42},
    {"Backslash", 43},
    {"KeyZ", 44},
    {"KeyX", 45},
    {"KeyC", 46},
    {"KeyV", 47},
    {"KeyB", 48},
    {"KeyN", 49},
    {"KeyM", 50},
    {"Comma", 51},
    {"Period", 52},
    {"Slash", 53},
    {"ShiftRight", 54},
    {"NumpadMultiply", 55},
    {"AltLeft", 56},
    {"AltRight", 56},
    {"Space", 57},
    {"CapsLock", 58},
    {"F1", 59},
    {"F2", 60},
    {"F3", 61},
    {"F4", 62},
    {"F5", 63},
    {"F6", 64},
    {"F7", 65},
    {"F8", 66},
    {"F9", 67},
    {"F10", 68},
    {"NumLock", 69},
    {"ScrollLock", 70},
    // The arrow block and the keypad share codes: the game polls one code
    // per direction.
    {"Home", 71},
    {"Numpad7", 71},
    {"ArrowUp", 72},
    {"Numpad8", 72},
    {"PageUp", 73},
    {"Numpad9", 73},
    {"NumpadSubtract", 74},
    {"ArrowLeft", 75},
    {"Numpad4", 75},
    {"Numpad5", 76},
    {"ArrowRight", 77},
    {"Numpad6", 77},
    {"NumpadAdd", 78},
    {"End", 79},
    {"Numpad1", 79},
    {"ArrowDown", 80},
    {"Numpad2", 80},
    {"PageDown", 81},
    {"Numpad3", 81},
    {"Insert", 82},
    {"Numpad0", 82},
    {"Delete", 83},
    {"NumpadDecimal", 83},
    {"NumpadDivide", 53},
    {"F11", 87},
    {"F12", 88},
};
static_assert(std::size(kKeys) <= WebKeyState::kKeys);

// Keys whose browser action stays the player's even while the game runs:
// F11 is the browser's own full screen, F12 its developer tools; F5 reloads.
constexpr std::string_view kBrowsersKeys[] = {"F5", "F11", "F12"};

}  // namespace

int web_key_row(std::string_view code) {
    for (std::size_t row = 0; row < std::size(kKeys); ++row) {
        if (kKeys[row].code == code) return static_cast<int>(row);
    }
    return -1;
}

int web_key_row_scan_code(int row) {
    if (row < 0 || row >= static_cast<int>(std::size(kKeys))) return 0;
    return kKeys[row].scanCode;
}

WebKey web_key(std::string_view code) {
    const int row = web_key_row(code);
    if (row < 0) return {};
    return {kKeys[row].scanCode, pc_key_character(kKeys[row].scanCode)};
}

bool web_key_is_games(std::string_view code) {
    for (std::string_view browsers : kBrowsersKeys) {
        if (code == browsers) return false;
    }
    return web_key_row(code) >= 0;
}

int WebKeyState::keyDown(std::string_view code, bool repeat) {
    const int row = web_key_row(code);
    return held_.press(row, web_key_row_scan_code(row), repeat);
}

int WebKeyState::keyUp(std::string_view code) { return held_.release(web_key_row(code)); }
