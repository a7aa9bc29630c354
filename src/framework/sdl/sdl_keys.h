#pragma once
// Physical keys to PC scan codes (set 1). Keys are taken by position, not by
// the letter the layout prints on them, so 1/2/3 and the arrows work on
// every keyboard. The input is an SDL scancode, which is the USB HID
// keyboard usage; no SDL type shows here so the table can be tested alone.

// The set-1 scan code with the extended-key flag dropped (the arrow block and
// the keypad give the same codes); 0 for a key the game has no code for.
int pc_scan_code(int sdlScancode);

// The ASCII character of the key where it is obvious (lower-case letters,
// digits, Enter 13, Esc 27, Space, Tab, Backspace 8), else 0.
int key_character(int sdlScancode);
