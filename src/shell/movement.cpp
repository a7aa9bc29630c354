#include "shell/movement.h"

#include "framework/framework.h"
#include "geometry/model.h"
#include "logic/world.h"
#include "shell/game.h"
#include "shell/game_state.h"
#include "shell/player_view.h"
#include "shell/world_events.h"
#include "sound/game_sounds.h"
#include "sound/sound_set.h"

namespace {

bool held(int scanCode) {
    return gfx_key_down(scanCode) != 0;
}

}  // namespace

void update_movement() {
    Game& g = game();
    applyMovementKeys(g.view, g.world, g.state, &g.sounds);
}

void applyMovementKeys(PlayerView& view, World& world, GameState& state, SoundSet* sounds) {
    if (state.questionShown || state.optionsShown || state.gameWon) return;

    const float step = held(scan::kAlt) ? kFastStep : kWalkStep;
    bool moved = false;
    // Up and Down together: the backward step starts wherever the forward
    // one left the eye.
    if (held(scan::kUp)) {
        view.moveForward(step);
        moved = true;
    }
    if (held(scan::kDown)) {
        view.moveForward(-step);
        moved = true;
    }
    if (held(scan::kHome)) {
        view.sidestep(-step);
        moved = true;
    }
    if (held(scan::kPageUp)) {
        view.sidestep(step);
        moved = true;
    }
    if (held(scan::kLeft)) view.turn(-kTurnStep);
    if (held(scan::kRight)) view.turn(kTurnStep);
    if (held(scan::kPageDown)) view.look(kTiltStep);
    if (held(scan::kDelete)) view.look(-kTiltStep);
    if (held(scan::kEnd)) view.resetLook();
    if (held(scan::kM)) {
        if (sounds) sounds->playSound(kFloatSound);
        view.moveVertical(step);
    } else if (held(scan::kN)) {
        if (sounds) sounds->stopSound(kFloatSound);
        view.moveVertical(-step);
    }
    // Polled like the rest: the maze switches in every iteration F is held.
    if (held(scan::kF)) {
        world.currentMaze = (world.currentMaze == 0) ? 1 : 0;
        if (Model* maze = world.mazeModel(world.currentMaze)) {
            view.setCollider(maze);
            view.setPosition(maze->homePosition);
        }
    }
    if (moved) check_player_position(world, view, state);
}
