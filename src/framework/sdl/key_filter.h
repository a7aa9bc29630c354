#pragma once
// The SDL backend's keys through the one key rule (framework/key_hold.h):
// keys come as SDL scancodes; no SDL type shows here.

#include "framework/key_hold.h"
#include "framework/sdl/sdl_keys.h"

class KeyFilter {
public:
    static constexpr int kScancodes = 512;  // SDL_NUM_SCANCODES

    // The PC scan code the game sees for this key going down, or 0 for none:
    // a repeat, a key already down, or a key the game has no code for.
    int keyDown(int sdlScancode, bool repeat) { return held_.press(sdlScancode, codeOf(sdlScancode), repeat); }
    // The PC scan code of the key up, or 0 while another key with the same
    // code is still held (or for a key not down, or without a code).
    int keyUp(int sdlScancode) { return held_.release(sdlScancode); }

    // Forgets every held key and calls sendUp(code) once per scan code that
    // was held: the key ups the game must see when the focus goes elsewhere.
    template <typename SendUp>
    void releaseAll(SendUp sendUp) {
        held_.releaseAll(sendUp);
    }

    void clear() { held_.clear(); }

private:
    static int codeOf(int sdlScancode) {
        return sdlScancode >= 0 && sdlScancode < kScancodes ? pc_scan_code(sdlScancode) : 0;
    }

    KeyHold<kScancodes> held_;
};
