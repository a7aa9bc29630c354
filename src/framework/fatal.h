#pragma once
// The one way out when the game cannot go on: the message on stderr and, where
// there is a display, in a box; then the program ends.

#include <string_view>

[[noreturn]] void gfx_fatal_error(std::string_view text);
