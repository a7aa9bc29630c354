// The program: picks the SDL backend and the data folder, then runs the game.
#include "framework/files.h"
#include "framework/sdl/sdl_backend.h"
#include "shell/shell.h"

int main(int /*argc*/, char** argv) {
    fw_locate_data_root(argv[0]);
    fw_use_sdl_backend();
    return run_game();
}
