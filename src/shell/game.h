#pragma once
// The game's long-lived objects, gathered in one place. One instance exists
// while the game runs; run_game builds it before game_main and releases it
// at the end, and a test can build a fresh one for every run.

#include <cstdint>
#include <memory>

#include "framework/framework.h"
#include "geometry/texture_list.h"
#include "logic/message_board.h"
#include "logic/world.h"
#include "render/renderer.h"
#include "shell/ending.h"
#include "shell/fps_meter.h"
#include "shell/game_state.h"
#include "shell/intro.h"
#include "shell/options_menu.h"
#include "shell/player_view.h"
#include "shell/progress.h"
#include "shell/questions.h"
#include "sound/sound_set.h"

struct FontDeleter {
    void operator()(GfxFont* font) const { gfx_free_font(font); }
};
using OwnedFont = std::unique_ptr<GfxFont, FontDeleter>;

struct Game {
    GameState state;
    FpsMeter fps;
    OptionsMenu menu;  // loads its pictures when built
    // The world's models refer to the texture list, the world's logic to the
    // messages and sounds, and the view to a maze model: built in this
    // order, released in the reverse.
    TextureList textures;
    SoundSet sounds;
    QuestionStore questions;
    MessageBoard messages;
    PlayerView view;
    World world{textures, WorldPeers{&messages, &sounds}};
    Intro intro;
    EndingText ending;
    Renderer renderer;  // span, depth and clip buffers, reset by every frame
    ProgressKeeper progressKeeper;

    FwContext* framework = nullptr;   // from fw_init, kept for the whole run
    OwnedBitmap backgroundPicture;    // 640x480 8-bit, copied under every frame
    OwnedFont textFont;
    std::uint8_t* screen = nullptr;   // the page's pixels, fetched by start_game
};

// The running game's objects; only valid between create_game and destroy_game.
Game& game();
bool game_exists();
void create_game();
void destroy_game();
