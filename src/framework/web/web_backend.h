#pragma once
// The backend for a web page (compiled only into the browser build): the page
// is drawn to a canvas, keys come from the browser by physical key, the loop
// runs on the browser's animation frames at 30 iterations per second, and the
// desktop's mode dialog is a start screen on the canvas. Nothing here shows a
// browser type; the page (page/index.html) talks to it through
// src/framework/web/keravon_lib.js and the keravon_* functions it exports.
// Given a key script before main (keravon_script), it runs as the headless
// backend does instead: keys from the script, the fixed 1/30 s clock, no
// pacing, and the hash of every presented page reported to the page.

// Makes the browser backend the one every fw_ operation uses.
void fw_use_web_backend();

// Readies the browser backend for game_main to run again in the same page
// (the page's Continue or Play again, after the game ended or on the start
// screen): the start screen counts as passed and the loop returns to the
// caller. False while a game is being played.
bool fw_prepare_web_backend_to_play_again();
