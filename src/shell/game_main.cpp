#include "shell/shell.h"
int game_main() { return 0; }
int run_game() { return game_main(); }
