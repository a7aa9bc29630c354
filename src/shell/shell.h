#pragma once
// The game shell: entry, callbacks and the frame they draw.

// Builds the game's long-lived objects, runs game_main, releases them.
int run_game();

// The game's entry: mode dialog, display, loading, then the framework's loop.
int game_main();
