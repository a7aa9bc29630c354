#pragma once
// A world of two small mazes and a logic file, for the logic tests: maze 0
// a floor 400 wide around the origin, maze 1 a floor far away; objects are
// written as cubes. The data root is a temporary folder while it lives.

#include <filesystem>
#include <string>

#include "framework/files.h"
#include "logic/logic_file.h"
#include "logic/message_board.h"
#include "logic/world.h"
#include "shell/game_state.h"
#include "shell/player_view.h"
#include "shell/questions.h"
#include "sound/sound_set.h"
#include "support/files.h"
#include "support/test_models.h"

struct LogicTestWorld {
    TestModelFolder folder;
    MessageBoard messages;
    QuestionStore questions;
    PlayerView view;
    GameState state;
    SoundSet sounds;  // empty, so silent, unless a test adds sounds
    World world{folder.textures, WorldPeers{&messages, &sounds}};

    LogicTestWorld() {
        folder.write("maze0", {floorRect(-200, -200, 200, 200, 0)});
        folder.write("maze1", {floorRect(1000, 1000, 1400, 1400, 0)});
        folder.write("cube", {floorRect(-10, -10, 10, 10, 0)});
        const Vec3 home{0, 40, 0};
        world.addMazeSlot("MAZE", "Objects\\maze0.krv", Matrix3::identity(), Vec3{}, 0, 100, home,
                          1);
        world.addMazeSlot("MAZE2", "Objects\\maze1.krv", Matrix3::identity(), Vec3{}, 1, 100, home,
                          1);
        view.setCollider(world.mazeModel(0));
        view.setPosition(home);
    }

    void writeLogic(const std::string& text) {
        writeFile(std::filesystem::path(fw_data_root()) / "Data" / "krv.lgk", text);
    }
    void load(const std::string& text) {
        writeLogic(text);
        loadLogicFile(world, messages);
    }
};
