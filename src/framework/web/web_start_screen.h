#pragma once
// The browser's start screen, in place of the desktop's mode dialog: a title
// picture and the page's start lines, drawn on the game's own page, since a
// web page opens no windows of its own. The page is what the canvas shows
// until the player starts the game. A page cannot be left by a key, so the
// dialog's line about Esc ending the game has no place here.

#include <array>
#include <cstdint>

#include "framework/loop.h"
#include "framework/page_text.h"

// Draws the picture (the quiz's own from its page text, else the look's) and
// the page's start lines centred on a 640x480 page, in the look's font and
// colours. A missing picture or font is drawn around: the player can still start.
void draw_start_screen(DrawContext& page, const ModeDialogLook& look, const PageText& words);
