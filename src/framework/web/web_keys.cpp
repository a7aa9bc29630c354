#include "framework/web/web_keys.h"

#include <iterator>

namespace {

struct KeyEntry {
    std::string_view code;
    unsigned char scanCode;
    unsigned char character;
};

// The same codes and characters as the desktop's table, by the browser's
// names for the physical keys.
constexpr KeyEntry kKeys[] = {
    {"Escape", 1, 27},
    {"Digit1", 2, '1'},
    {"Digit2", 3, '2'},
    {"Digit3", 4, '3'},
    {"Digit4", 5, '4'},
    {"Digit5", 6, '5'},
    {"Digit6", 7, '6'},
    {"Digit7", 8, '7'},
    {"Digit8", 9, '8'},
    {"Digit9", 10, '9'},
    {"Digit0", 11, '0'},
    {"Minus", 12, '-'},
    {"Equal", 13, '='},
    {"Backspace", 14, 8},
    {"Tab", 15, '\t'},
    {"KeyQ", 16, 'q'},
    {"KeyW", 17, 'w'},
    {"KeyE", 18, 'e'},
    {"KeyR", 19, 'r'},
    {"KeyT", 20, 't'},
    {"KeyY", 21, 'y'},
    {"KeyU", 22, 'u'},
    {"KeyI", 23, 'i'},
    {"KeyO", 24, 'o'},
    {"KeyP", 25, 'p'},
    {"BracketLeft", 26, '['},
    {"BracketRight", 27, ']'},
    {"Enter", 28, 13},
    {"NumpadEnter", 28, 13},
    {"ControlLeft", 29, 0},
    {"ControlRight", 29, 0},
    {"KeyA", 30, 'a'},
    {"KeyS", 31, 's'},
    {"KeyD", 32, 'd'},
    {"KeyF", 33, 'f'},
    {"KeyG", 34, 'g'},
    {"KeyH", 35, 'h'},
    {"KeyJ", 36, 'j'},
    {"KeyK", 37, 'k'},
    {"KeyL", 38, 'l'},
    {"Semicolon", 39, ';'},
    {"Quote", 40, '\''},
    {"Backquote", 41, '`'},
    {"ShiftLeft", 42, 0},
    {"Backslash", 43, '\\'},
    {"KeyZ", 44, 'z'},
    {"KeyX", 45, 'x'},
    {"KeyC", 46, 'c'},
    {"KeyV", 47, 'v'},
    {"KeyB", 48, 'b'},
    {"KeyN", 49, 'n'},
    {"KeyM", 50, 'm'},
    {"Comma", 51, ','},
    {"Period", 52, '.'},
    {"Slash", 53, '/'},
    {"ShiftRight", 54, 0},
    {"NumpadMultiply", 55, '*'},
    {"AltLeft", 56, 0},
    {"AltRight", 56, 0},
    {"Space", 57, ' '},
    {"CapsLock", 58, 0},
    {"F1", 59, 0},
    {"F2", 60, 0},
    {"F3", 61, 0},
    {"F4", 62, 0},
    {"F5", 63, 0},
    {"F6", 64, 0},
    {"F7", 65, 0},
    {"F8", 66, 0},
    {"F9", 67, 0},
    {"F10", 68, 0},
    {"NumLock", 69, 0},
    {"ScrollLock", 70, 0},
    // The arrow block and the keypad share codes: the game polls one code
    // per direction.
    {"Home", 71, 0},
    {"Numpad7", 71, 0},
    {"ArrowUp", 72, 0},
    {"Numpad8", 72, 0},
    {"PageUp", 73, 0},
    {"Numpad9", 73, 0},
    {"NumpadSubtract", 74, '-'},
    {"ArrowLeft", 75, 0},
    {"Numpad4", 75, 0},
    {"Numpad5", 76, 0},
    {"ArrowRight", 77, 0},
    {"Numpad6", 77, 0},
    {"NumpadAdd", 78, '+'},
    {"End", 79, 0},
    {"Numpad1", 79, 0},
    {"ArrowDown", 80, 0},
    {"Numpad2", 80, 0},
    {"PageDown", 81, 0},
    {"Numpad3", 81, 0},
    {"Insert", 82, 0},
    {"Numpad0", 82, 0},
    {"Delete", 83, 0},
    {"NumpadDecimal", 83, 0},
    {"NumpadDivide", 53, '/'},
    {"F11", 87, 0},
    {"F12", 88, 0},
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
    return {kKeys[row].scanCode, kKeys[row].character};
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
