#include "framework/framework.h"
#include "shell/callbacks.h"
#include "shell/game.h"
#include "shell/game_palette.h"
#include "shell/intro.h"
#include "shell/movement.h"
#include "shell/progress.h"
#include "shell/resources.h"
#include "shell/shell.h"

namespace {

DriverOptions gameDriverOptions() {
    DriverOptions options;
    options.directHardware = 1;
    options.directDraw = 1;
    options.vga = 1;
    options.vgaModeX = 1;
    options.vesaVbe2 = 1;
    options.sixthDriver = 1;
    options.vesaAccelerator = 1;
    options.fullscreenDib = 1;
    options.openGl = 0;
    options.openGlType = 0;
    options.colourDepthMask = 1;  // 8-bit modes only
    return options;
}

// Movement, then the progress a browser page keeps as the game goes.
void update_game() {
    update_movement();
    game().progressKeeper.keep(game());
}

void registerCallbacks() {
    fw_set_draw_callback(draw_intro_frame);
    fw_set_update_callback(update_game);
    fw_set_key_down_callback(on_key_down);
    fw_set_mouse_down_callback(on_mouse_down);
    fw_set_mode_switch_callback(on_mode_switched);
    fw_set_activate_callback(on_activate);
    fw_set_suspend_callback(on_suspend);
}

}  // namespace

int game_main() {
    Game& g = game();
    fw_set_mode_filter(accept_mode);
    fw_set_driver_options(gameDriverOptions());
    g.framework = fw_init("Keravon");
    if (!g.framework) gfx_fatal_error(gfx_error_message(gfx_result()));
    registerCallbacks();

    ModeChoice mode;
    int windowed = 1;
    fw_set_mode_dialog_look({"Pics\\title.bmp", "Fonts\\Cour20b.fnt", game_palette(), kWhite,
                             cube_index(1, 1, 1)});
    if (!fw_choose_mode(&mode, &windowed)) return 0;
    if (!fw_set_mode(mode, windowed, 2, 1)) gfx_fatal_error(gfx_error_message(gfx_result()));

    load_resources();
    start_game();
    continue_saved_progress();
    return fw_main_loop();
}

int run_game() {
    create_game();
    const int result = game_main();
    destroy_game();
    return result;
}
