#pragma once
// The mode dialog: a small window centred on the desktop with the title
// picture and the three lines of instructions. Return runs the game, Esc or
// closing the window quits. The window is gone again when this returns. The
// picture, the font and the colours are those given to fw_set_mode_dialog_look.

#include <string>

// True for "Run KRV", false for "Quit" (also when no window can be made).
bool sdl_run_mode_dialog(const std::string& title);
