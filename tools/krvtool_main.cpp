// krvtool: the one program behind every tool of the game.
#include "command.h"
#include "framework/headless/headless.h"

int main(int argc, char** argv) {
    // Every tool runs the game's code without a window.
    fw_use_headless_backend();
    return run_krvtool(argc, argv);
}
