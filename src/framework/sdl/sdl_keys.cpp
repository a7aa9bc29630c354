#include "framework/sdl/sdl_keys.h"

#include <SDL.h>

#include <array>

namespace {

struct KeyEntry {
    SDL_Scancode key;
    unsigned char scanCode;
    unsigned char character;
};

constexpr KeyEntry kKeys[] = {
    {SDL_SCANCODE_ESCAPE, 1, 27},
    {SDL_SCANCODE_1, 2, '1'},
    {SDL_SCANCODE_2, 3, '2'},
    {SDL_SCANCODE_3, 4, '3'},
    {SDL_SCANCODE_4, 5, '4'},
    {SDL_SCANCODE_5, 6, '5'},
    {SDL_SCANCODE_6, 7, '6'},
    {SDL_SCANCODE_7, 8, '7'},
    {SDL_SCANCODE_8, 9, '8'},
    {SDL_SCANCODE_9, 10, '9'},
    {SDL_SCANCODE_0, 11, '0'},
    {SDL_SCANCODE_MINUS, 12, '-'},
    {SDL_SCANCODE_EQUALS, 13, '='},
    {SDL_SCANCODE_BACKSPACE, 14, 8},
    {SDL_SCANCODE_TAB, 15, '\t'},
    {SDL_SCANCODE_Q, 16, 'q'},
    {SDL_SCANCODE_W, 17, 'w'},
    {SDL_SCANCODE_E, 18, 'e'},
    {SDL_SCANCODE_R, 19, 'r'},
    {SDL_SCANCODE_T, 20, 't'},
    {SDL_SCANCODE_Y, 21, 'y'},
    {SDL_SCANCODE_U, 22, 'u'},
    {SDL_SCANCODE_I, 23, 'i'},
    {SDL_SCANCODE_O, 24, 'o'},
    {SDL_SCANCODE_P, 25, 'p'},
    {SDL_SCANCODE_LEFTBRACKET, 26, '['},
    {SDL_SCANCODE_RIGHTBRACKET, 27, ']'},
    {SDL_SCANCODE_RETURN, 28, 13},
    {SDL_SCANCODE_KP_ENTER, 28, 13},
    {SDL_SCANCODE_LCTRL, 29, 0},
    {SDL_SCANCODE_RCTRL, 29, 0},
    {SDL_SCANCODE_A, 30, 'a'},
    {SDL_SCANCODE_S, 31, 's'},
    {SDL_SCANCODE_D, 32, 'd'},
    {SDL_SCANCODE_F, 33, 'f'},
    {SDL_SCANCODE_G, 34, 'g'},
    {SDL_SCANCODE_H, 35, 'h'},
    {SDL_SCANCODE_J, 36, 'j'},
    {SDL_SCANCODE_K, 37, 'k'},
    {SDL_SCANCODE_L, 38, 'l'},
    {SDL_SCANCODE_SEMICOLON, 39, ';'},
    {SDL_SCANCODE_APOSTROPHE, 40, '\''},
    {SDL_SCANCODE_GRAVE, 41, '`'},
    {SDL_SCANCODE_LSHIFT, 42, 0},
    {SDL_SCANCODE_BACKSLASH, 43, '\\'},
    {SDL_SCANCODE_Z, 44, 'z'},
    {SDL_SCANCODE_X, 45, 'x'},
    {SDL_SCANCODE_C, 46, 'c'},
    {SDL_SCANCODE_V, 47, 'v'},
    {SDL_SCANCODE_B, 48, 'b'},
    {SDL_SCANCODE_N, 49, 'n'},
    {SDL_SCANCODE_M, 50, 'm'},
    {SDL_SCANCODE_COMMA, 51, ','},
    {SDL_SCANCODE_PERIOD, 52, '.'},
    {SDL_SCANCODE_SLASH, 53, '/'},
    {SDL_SCANCODE_RSHIFT, 54, 0},
    {SDL_SCANCODE_KP_MULTIPLY, 55, '*'},
    {SDL_SCANCODE_LALT, 56, 0},
    {SDL_SCANCODE_RALT, 56, 0},
    {SDL_SCANCODE_SPACE, 57, ' '},
    {SDL_SCANCODE_CAPSLOCK, 58, 0},
    {SDL_SCANCODE_F1, 59, 0},
    {SDL_SCANCODE_F2, 60, 0},
    {SDL_SCANCODE_F3, 61, 0},
    {SDL_SCANCODE_F4, 62, 0},
    {SDL_SCANCODE_F5, 63, 0},
    {SDL_SCANCODE_F6, 64, 0},
    {SDL_SCANCODE_F7, 65, 0},
    {SDL_SCANCODE_F8, 66, 0},
    {SDL_SCANCODE_F9, 67, 0},
    {SDL_SCANCODE_F10, 68, 0},
    {SDL_SCANCODE_NUMLOCKCLEAR, 69, 0},
    {SDL_SCANCODE_SCROLLLOCK, 70, 0},
    // The arrow block and the keypad share codes: the game polls one code
    // per direction.
    {SDL_SCANCODE_HOME, 71, 0},
    {SDL_SCANCODE_KP_7, 71, 0},
    {SDL_SCANCODE_UP, 72, 0},
    {SDL_SCANCODE_KP_8, 72, 0},
    {SDL_SCANCODE_PAGEUP, 73, 0},
    {SDL_SCANCODE_KP_9, 73, 0},
    {SDL_SCANCODE_KP_MINUS, 74, '-'},
    {SDL_SCANCODE_LEFT, 75, 0},
    {SDL_SCANCODE_KP_4, 75, 0},
    {SDL_SCANCODE_KP_5, 76, 0},
    {SDL_SCANCODE_RIGHT, 77, 0},
    {SDL_SCANCODE_KP_6, 77, 0},
    {SDL_SCANCODE_KP_PLUS, 78, '+'},
    {SDL_SCANCODE_END, 79, 0},
    {SDL_SCANCODE_KP_1, 79, 0},
    {SDL_SCANCODE_DOWN, 80, 0},
    {SDL_SCANCODE_KP_2, 80, 0},
    {SDL_SCANCODE_PAGEDOWN, 81, 0},
    {SDL_SCANCODE_KP_3, 81, 0},
    {SDL_SCANCODE_INSERT, 82, 0},
    {SDL_SCANCODE_KP_0, 82, 0},
    {SDL_SCANCODE_DELETE, 83, 0},
    {SDL_SCANCODE_KP_PERIOD, 83, 0},
    {SDL_SCANCODE_KP_DIVIDE, 53, '/'},
    {SDL_SCANCODE_F11, 87, 0},
    {SDL_SCANCODE_F12, 88, 0},
};

struct KeyTable {
    std::array<unsigned char, SDL_NUM_SCANCODES> scanCodes{};
    std::array<unsigned char, SDL_NUM_SCANCODES> characters{};
};

const KeyTable& keyTable() {
    static const KeyTable table = [] {
        KeyTable built;
        for (const KeyEntry& entry : kKeys) {
            built.scanCodes[entry.key] = entry.scanCode;
            built.characters[entry.key] = entry.character;
        }
        return built;
    }();
    return table;
}

bool inRange(int sdlScancode) {
    return sdlScancode >= 0 && sdlScancode < SDL_NUM_SCANCODES;
}

}  // namespace

int pc_scan_code(int sdlScancode) {
    return inRange(sdlScancode) ? keyTable().scanCodes[sdlScancode] : 0;
}

int key_character(int sdlScancode) {
    return inRange(sdlScancode) ? keyTable().characters[sdlScancode] : 0;
}
