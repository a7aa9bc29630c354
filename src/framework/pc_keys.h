#pragma once
// What a key gives besides its PC scan code (set 1): the ASCII character a US
// keyboard types with it alone. One table for every backend (the SDL one, the
// browser's, the key scripts of headless runs), so a key gives the game the
// same character wherever it is pressed.

// Lower-case letters, digits, punctuation, Enter 13, Esc 27, Space, Tab 9,
// Backspace 8, the keypad's * - + (its / is Slash's code); 0 for the rest.
int pc_key_character(int scanCode);
