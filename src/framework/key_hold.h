#pragma once
// What physical key events become for the game, for every backend with a
// keyboard: one key down per press, the system's auto-repeats dropped
// (toggles act on key downs, so a held F1 must not flicker the help screen),
// and one key up per scan code, sent when the last of the keys sharing it goes
// up (the arrow block and the keypad give the same codes). A backend numbers
// its physical keys its own way (SDL's scancodes, the rows of the browser's
// table) and says which scan code each one gives.

#include <array>
#include <cstdint>

template <int Keys>
class KeyHold {
public:
    static constexpr int kKeys = Keys;

    // The scan code the game sees for physical key `key` going down, or 0 for
    // none: a repeat, a key already down, or one without a code (`code` 0).
    int press(int key, int code, bool repeat) {
        if (!known(key) || repeat || code == 0 || held_[key] != 0) return 0;
        held_[key] = static_cast<std::uint8_t>(code);
        return code;
    }

    // The scan code of the key up, or 0 while another key with the same code
    // is still held, and for a key that was not down.
    int release(int key) {
        if (!known(key) || held_[key] == 0) return 0;
        const int code = held_[key];
        held_[key] = 0;
        for (const std::uint8_t other : held_) {
            if (other == code) return 0;
        }
        return code;
    }

    // Forgets every held key and calls sendUp(code) once per scan code that
    // was held, in the order of the keys: the key ups the game must see when
    // the focus goes elsewhere.
    template <typename SendUp>
    void releaseAll(SendUp sendUp) {
        std::array<bool, 256> sent{};
        for (std::uint8_t& code : held_) {
            if (code == 0) continue;
            const int up = code;
            code = 0;
            if (sent[up]) continue;
            sent[up] = true;
            sendUp(up);
        }
    }

    void clear() { held_.fill(0); }

private:
    static bool known(int key) { return key >= 0 && key < Keys; }

    std::array<std::uint8_t, Keys> held_{};  // the scan code of each key down, 0 when up
};
