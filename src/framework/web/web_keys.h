#pragma once
// Browser keys to PC scan codes (set 1), by physical key: the page hands over
// KeyboardEvent.code ("KeyW", "ArrowUp", "Numpad8"), which names the position
// on the keyboard whatever the layout prints on it, so 1/2/3 and the arrows
// work everywhere and the game sees the same codes and characters as on the
// desktop. Nothing here needs a browser, so it is tested natively.

#include <string_view>

#include "framework/key_hold.h"

struct WebKey {
    int scanCode = 0;   // 0: a key the game has no code for
    int character = 0;  // as on the desktop: lower-case letters, digits, 13, 27, ...
};

// The key for a KeyboardEvent.code; {0, 0} for one the game does not know.
WebKey web_key(std::string_view code);

// Whether the browser's own action for this key must be held back while the
// game has the focus (scrolling, F1 help, the F10 menu, Tab, Backspace...).
// Every key the game has a code for is the game's.
bool web_key_is_games(std::string_view code);

// The same shaping of key events as on the desktop (framework/key_hold.h):
// one key down per press (the browser's auto-repeats dropped) and one key up
// per scan code, sent when the last physical key sharing it goes up (the
// arrow block and the keypad give the same codes).
class WebKeyState {
public:
    static constexpr int kKeys = 128;  // rows of the table, with room to spare

    // The scan code the game sees for this key going down, or 0 for none.
    int keyDown(std::string_view code, bool repeat);
    // The scan code of the key up, or 0 while another key with it is held.
    int keyUp(std::string_view code);
    // Forgets every held key and calls sendUp(code) once per held scan code:
    // the key ups the game must see when the page loses the focus.
    template <typename SendUp>
    void releaseAll(SendUp sendUp) {
        held_.releaseAll(sendUp);
    }

private:
    KeyHold<kKeys> held_;
};

// The row of the key table for a code, or -1; the scan code of a row.
int web_key_row(std::string_view code);
int web_key_row_scan_code(int row);
