#pragma once
// Start-up loading and (re)starting the game.

// Loads everything the game shows or plays, in a fixed order; runs once.
void load_resources();

// Sets the palette, fetches the page's address and reads the questions;
// runs after loading and again after every window/full-screen switch.
void start_game();
