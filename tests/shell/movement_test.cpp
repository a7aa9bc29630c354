#include "shell/movement.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_models.h"
#include "framework/framework.h"
#include "geometry/trig.h"
#include "logic/world.h"
#include "shell/game_state.h"
#include "shell/player_view.h"

namespace {

// Two mazes: maze 0 a floor 200 wide around the origin, maze 1 a floor far
// away. The eye starts on maze 0 at (0, 40, 0), looking along -z.
class MovementKeys : public ::testing::Test {
protected:
    void SetUp() override {
        std::fill(std::begin(keyState), std::end(keyState), 0);
        folder.write("maze0", {floorRect(-100, -100, 100, 100, 0)});
        folder.write("maze1", {floorRect(1000, 1000, 1200, 1200, 0)});
        world.addMazeSlot("MAZE", "Objects\\maze0.krv", Matrix3::identity(), Vec3{}, 0, 100, home0,
                          1);
        world.addMazeSlot("MAZE2", "Objects\\maze1.krv", Matrix3::identity(), Vec3{}, 1, 100, home1,
                          1);
        view.setCollider(world.mazeModel(0));
        view.setPosition({0, 40, 0});
    }
    void TearDown() override { std::fill(std::begin(keyState), std::end(keyState), 0); }

    void hold(int scanCode) { keyState[scanCode] = 1; }
    void step() { applyMovementKeys(view, world, state); }

    TestModelFolder folder;
    World world{folder.textures};
    PlayerView view;
    GameState state;
    const Vec3 home0{10, 40, 10};
    const Vec3 home1{1100, 40, 1100};
};

}  // namespace

TEST_F(MovementKeys, UpAndDownTogetherStepBackFromWhereForwardLeft) {
    // Forward is refused at the floor's edge; the backward step then starts
    // from the unchanged eye.
    view.setPosition({0, 40, -96});
    hold(scan::kUp);
    hold(scan::kDown);
    step();
    EXPECT_FLOAT_EQ(view.position.z, -88.0f);
    // In the middle both succeed and cancel out.
    view.setPosition({0, 40, 0});
    step();
    EXPECT_FLOAT_EQ(view.position.z, 0.0f);
}

TEST_F(MovementKeys, AltAloneDoesNothingAndWithUpStepsFifteen) {
    const Matrix3 before = view.orientation;
    hold(scan::kAlt);
    step();
    EXPECT_EQ(view.position, (Vec3{0, 40, 0}));
    EXPECT_EQ(view.orientation, before);
    hold(scan::kUp);
    step();
    EXPECT_FLOAT_EQ(view.position.z, -15.0f);
    keyState[scan::kAlt] = 0;
    hold(scan::kHome);  // sidestep left, with the normal step
    keyState[scan::kUp] = 0;
    step();
    EXPECT_FLOAT_EQ(view.position.x, -8.0f);
}

TEST_F(MovementKeys, NothingMovesWhileAQuestionTheMenuOrTheWinIsUp) {
    for (int key : {scan::kUp, scan::kLeft, scan::kPageDown, scan::kM, scan::kF}) hold(key);
    const Matrix3 before = view.orientation;
    for (int* flag : {&state.questionShown, &state.optionsShown, &state.gameWon}) {
        *flag = 1;
        step();
        *flag = 0;
        EXPECT_EQ(view.position, (Vec3{0, 40, 0}));
        EXPECT_EQ(view.orientation, before);
        EXPECT_EQ(view.pitch, 0);
        EXPECT_EQ(world.currentMaze, 0);
    }
}

TEST_F(MovementKeys, MFloatsDownAndWinsOverN) {
    hold(scan::kM);
    hold(scan::kN);
    step();
    EXPECT_FLOAT_EQ(view.position.y, 40.0f - 12.8f);
    keyState[scan::kM] = 0;
    step();
    EXPECT_FLOAT_EQ(view.position.y, 40.0f);
}

TEST_F(MovementKeys, FSwitchesBetweenMazesZeroAndOneEveryIteration) {
    hold(scan::kF);
    step();
    EXPECT_EQ(world.currentMaze, 1);
    EXPECT_EQ(view.collider, world.mazeModel(1));
    EXPECT_EQ(view.position, home1);
    step();
    EXPECT_EQ(world.currentMaze, 0);
    EXPECT_EQ(view.position, home0);
    // Walking now uses maze 0's floor.
    keyState[scan::kF] = 0;
    hold(scan::kUp);
    step();
    EXPECT_FLOAT_EQ(view.position.z, 2.0f);
}

TEST(World, MazeSlotsShareModelsByNameAndNumberThemByIndex) {
    TestModelFolder folder;
    folder.write("m", {floorRect(0, 0, 10, 10, 0)});
    World world(folder.textures);
    world.addMazeSlot("A", "Objects\\m.krv", Matrix3::identity(), Vec3{}, 0, 100, Vec3{}, 1);
    world.addMazeSlot("A", "Objects\\m.krv", Matrix3::identity(), Vec3{}, 1, 100, Vec3{}, 1);
    world.addMazeSlot("B", "Objects\\missing.krv", Matrix3::identity(), Vec3{}, 2, 100, Vec3{}, 1);
    EXPECT_EQ(world.mazeModel(0), world.mazeModel(1));
    EXPECT_EQ(world.mazeSlots[0].ownsModel, 1);
    EXPECT_EQ(world.mazeSlots[1].ownsModel, 0);
    // A maze that failed to load is kept, empty.
    ASSERT_NE(world.mazeModel(2), nullptr);
    EXPECT_FALSE(world.mazeModel(2)->loaded);
    EXPECT_EQ(world.mazeModel(3), nullptr);
    EXPECT_EQ(world.mazeModel(-1), nullptr);
}
