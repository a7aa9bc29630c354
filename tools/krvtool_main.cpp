// krvtool: the one program behind every tool of the game.
#include "command.h"

int main(int argc, char** argv) { return run_krvtool(argc, argv); }
