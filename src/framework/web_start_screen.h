#pragma once
// The browser's start screen, in place of the desktop's mode dialog: the same
// title picture and lines, drawn on the game's own page, since a web page
// opens no windows of its own. The page is what the canvas shows until the
// player starts the game.

#include <array>
#include <cstdint>

#include "framework/framework.h"

// Draws the look (picture, lines, colours) centred on a 640x480 page. A
// missing picture or font is drawn around: the player can still start.
void draw_start_screen(DrawContext& page, const ModeDialogLook& look);
