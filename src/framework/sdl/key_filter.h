#pragma once
// What physical key events become for the game: one key down per press, the
// system's auto-repeats dropped (toggles act on key downs, so a held F1 must
// not flicker the help screen), and one key up per scan code, sent when the
// last of the keys sharing it goes up (the arrow block and the keypad give the
// same codes). Keys come as SDL scancodes; no SDL type shows here.

#include <array>

#include "framework/sdl/sdl_keys.h"

class KeyFilter {
public:
    static constexpr int kScancodes = 512;  // SDL_NUM_SCANCODES

    // The PC scan code the game sees for this key going down, or 0 for none:
    // a repeat, or a key the game has no code for.
    int keyDown(int sdlScancode, bool repeat);
    // The PC scan code of the key up, or 0 while another key with the same
    // code is still held (or for a key without a code).
    int keyUp(int sdlScancode);

    // Forgets every held key and calls sendUp(code) once per scan code that
    // was held: the key ups the game must see when the focus goes elsewhere.
    template <typename SendUp>
    void releaseAll(SendUp sendUp);

    void clear() { held_.fill(false); }

private:
    std::array<bool, kScancodes> held_{};
};

template <typename SendUp>
void KeyFilter::releaseAll(SendUp sendUp) {
    std::array<bool, 256> sent{};
    for (int scancode = 0; scancode < kScancodes; ++scancode) {
        if (!held_[scancode]) continue;
        held_[scancode] = false;
        const int code = pc_scan_code(scancode);
        if (code == 0 || sent[code]) continue;
        sent[code] = true;
        sendUp(code);
    }
}
