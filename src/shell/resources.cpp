#include "shell/resources.h"

#include <cstdio>
#include <string>

#include "framework/framework.h"
#include "geometry/model.h"
#include "geometry/trig.h"
#include "logic/logic_file.h"
#include "logic/maze_table.h"
#include "shell/game.h"
#include "shell/game_palette.h"
#include "shell/pictures.h"
#include "sound/game_sounds.h"
#include "sound/sound_set.h"

namespace {

// The frame copies the background whole, so anything but a 640x480 8-bit
// picture would be read past its end: refused like a missing one.
OwnedBitmap loadBackground() {
    const char* const path = "Pics\\border1.bmp";
    OwnedBitmap picture = load_picture_or_die(path, 1);
    if (picture->width != kScreenWidth || picture->height != kScreenHeight ||
        picture->bitsPerPixel != 8 || picture->bytesPerLine != kScreenWidth) {
        std::fprintf(stderr, "%s: wrong size: %dx%d, the background must be 640x480\n", path,
                     picture->width, picture->height);
        gfx_fatal_error("Can't find all Bitmaps!");
    }
    return picture;
}

std::uint8_t* pagePixels(const Game& g) {
    return (g.framework && g.framework->drawContext) ? g.framework->drawContext->pixels : nullptr;
}

}  // namespace

void load_resources() {
    Game& g = game();
    // Single precision needs no switch here: x86-64 and ARM compute floats
    // in 32 bits natively, and the code keeps every value a float.
    g.backgroundPicture = loadBackground();
    // A font that fails to load is not reported: text then draws nothing.
    g.textFont.reset(gfx_load_font("Fonts\\Cour20b.fnt"));
    gfx_use_font(g.textFont.get());
    buildTrigTables();
    FwContext* const window = g.framework;

    // Maze numbers are slot indices; each maze model builds its collision
    // grid as it loads.
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(kMazeFiles.size()); ++i) {
        g.world.addMazeSlot(kMazeSlotNames[i], std::string("Objects\\") + kMazeFiles[i],
                            Matrix3::identity(), Vec3{}, i, kMazeCellSize, kMazeHome, 1);
    }
    loadLogicFile(g.world, g.messages);
    g.textures.loadBitmaps();
    g.world.bindSlotTextures();

    g.screen = pagePixels(g);
    gfx_set_color(kWhite);

    setSoundWindow(window);
    for (const char* sound : kSoundFiles) g.sounds.addSound(sound, 0);

    GameState& s = g.state;
    s.optionsShown = 0;
    s.quitRequested = 0;
    s.introOver = 0;
    s.helpShown = 0;
    s.questionShown = 0;
    s.gameWon = 0;
    s.fpsShown = 0;
    g.menu.setQuitFlag(&s.quitRequested);

    if (Model* maze = g.world.mazeModel(0)) {
        g.view.setCollider(maze);
        g.view.setPosition(maze->homePosition);
    }

    set_game_palette();
    loadIntro();
    loadEnding();
}

void start_game() {
    Game& g = game();
    set_game_palette();
    g.screen = pagePixels(g);
    g.questions.loadQuestions();
}
