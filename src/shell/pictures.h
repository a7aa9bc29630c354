#pragma once
// Pictures the shell loads at start (background, menu items, and later the
// intro's and the questions'): a missing or unreadable one ends the program.

#include "framework/owned_bitmap.h"

// Loads a picture from a game path, ending the program with "Can't find all
// Bitmaps!" (after the file and the reason on stderr) when it is missing or
// unreadable.
OwnedBitmap load_picture_or_die(const char* gamePath, int keepPalette);
