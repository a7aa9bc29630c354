#pragma once
// The game framework, the graphics library and the stopwatch: every operation
// the game calls on the platform, for the shell, which uses them all. The
// modules below it include only the topic headers they use. Nothing here
// shows an SDL type; every backend (backend.h) sits behind the same calls.

#include "framework/fatal.h"     // gfx_fatal_error
#include "framework/graphics.h"  // bitmaps, fonts, text, clipping
#include "framework/keys.h"      // scan codes, key events, key state
#include "framework/loop.h"      // start-up, modes, callbacks, main loop, progress
#include "framework/screen.h"    // screen size, palette, the page
#include "framework/timer.h"     // the stopwatch
