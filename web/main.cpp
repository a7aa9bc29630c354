// The program in a browser: the page has written the quiz's files into the
// engine's file system under /game before it calls main.
#include "framework/files.h"
#include "framework/web_backend.h"
#include "shell/shell.h"

int main() {
    fw_set_data_root("/game");
    fw_use_web_backend();
    return run_game();
}
