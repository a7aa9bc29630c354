// The program in a browser: the page has written the quiz's files into the
// engine's file system under /game before it calls main.
#include <emscripten/emscripten.h>

#include "framework/backend.h"
#include "framework/files.h"
#include "framework/web/web_backend.h"
#include "shell/game.h"
#include "shell/shell.h"

int main() {
    fw_set_data_root("/game");
    fw_use_web_backend();
    return run_game();
}

// The game again in the same page, continuing the page's kept progress or
// from the start: a reload would end a learning platform's session. 0 while
// a game is being played.
extern "C" EMSCRIPTEN_KEEPALIVE int keravon_play_again() {
    if (!fw_prepare_web_backend_to_play_again()) return 0;
    if (game_exists()) destroy_game();
    fw_reset();
    create_game();
    game_main();
    return 1;
}
