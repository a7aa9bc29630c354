#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "framework/files.h"
#include "framework/framework.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"
#include "support/headless_game.h"
#include "logic/world.h"
#include "shell/game.h"
#include "shell/game_state.h"
#include "shell/movement.h"
#include "shell/player_view.h"

namespace {

// Walks the first default maze with the movement keys, one loop iteration
// at a time.
class DefaultMazeWalk : public ::testing::Test {
protected:
    void SetUp() override {
        const auto maze = std::filesystem::path(KRV_GAME_DIR) / "Objects" / "krv1.krv";
        ASSERT_TRUE(std::filesystem::exists(maze)) << "no generated maze " << maze;
        previousRoot = fw_data_root();
        fw_set_data_root(KRV_GAME_DIR);
        buildTrigTables();
        std::fill(std::begin(keyState), std::end(keyState), 0);
        world.addMazeSlot("MAZE", "Objects\\krv1.krv", Matrix3::identity(), Vec3{}, 0, 100,
                          Vec3{790, 40, -105}, 1);
        ASSERT_TRUE(world.mazeModel(0)->loaded);
        view.setCollider(world.mazeModel(0));
        view.setPosition(world.mazeModel(0)->homePosition);
    }
    void TearDown() override {
        std::fill(std::begin(keyState), std::end(keyState), 0);
        fw_set_data_root(previousRoot);
    }

    // Holds the key for this many iterations; returns how many of them
    // moved the eye.
    int hold(int scanCode, int iterations) {
        keyState[scanCode] = 1;
        int moved = 0;
        for (int i = 0; i < iterations; ++i) {
            const Vec3 before = view.position;
            applyMovementKeys(view, world, state);
            if (!(view.position == before)) ++moved;
            trace.push_back(view.position);
        }
        keyState[scanCode] = 0;
        return moved;
    }
    void turnRight() { hold(scan::kRight, 6); }
    void turnLeft() { hold(scan::kLeft, 6); }

    std::string previousRoot;
    TextureList textures;
    World world{textures};
    PlayerView view;
    GameState state;
    std::vector<Vec3> trace;
};

}  // namespace

TEST_F(DefaultMazeWalk, HallFloorCarriesTheEyeUntilTheGalleryWall) {
    // North from the vestibule through the hall: floor 0 all the way, then
    // the gallery 140 higher stops the walk.
    const int moved = hold(scan::kUp, 150);
    EXPECT_LT(moved, 150);
    for (const Vec3& p : trace) EXPECT_FLOAT_EQ(p.y, 40.0f);
    // Row 4 of the map (z -855 to -805) is the last of the hall.
    EXPECT_GE(view.position.z, -855.0f);
    EXPECT_LT(view.position.z, -805.0f);
    EXPECT_EQ(world.mazeModel(0)->bumpFlag, 0);
}

TEST_F(DefaultMazeWalk, StairsClimbInStepsAndTheGalleryEdgeDrops) {
    hold(scan::kUp, 28);   // into the hall's south aisle, z about -330
    turnRight();           // east
    hold(scan::kUp, 100);  // to the hall's east wall
    const float eastX = view.position.x;
    EXPECT_GT(eastX, 1290.0f);  // the stairwell spans x 1290 to 1390
    turnLeft();                 // north, up the stairs
    trace.clear();
    hold(scan::kUp, 120);
    for (std::size_t i = 1; i < trace.size(); ++i) {
        // Each step up is a whole stair of 14, never more than 15.
        const float rise = trace[i].y - trace[i - 1].y;
        EXPECT_LE(rise, 15.0f);
        EXPECT_GE(rise, 0.0f);
    }
    EXPECT_FLOAT_EQ(view.position.y, 180.0f);  // on the gallery, 140 up
    turnLeft();                                // west along the gallery
    hold(scan::kUp, 20);
    turnLeft();  // south, over the edge into the hall
    trace.clear();
    hold(scan::kUp, 16);
    // One step off the gallery lands on the hall's plinth (20 high) below,
    // 120 down, a fall that bumps; the next on the hall floor.
    float largestDrop = 0.0f;
    for (std::size_t i = 1; i < trace.size(); ++i)
        largestDrop = std::max(largestDrop, trace[i - 1].y - trace[i].y);
    EXPECT_FLOAT_EQ(largestDrop, 120.0f);
    EXPECT_FLOAT_EQ(view.position.y, 40.0f);
}

TEST_F(DefaultMazeWalk, TheRunningGameStartsOnMazeZeroAndWalks) {
    HeadlessGame run;
    // The keys move the eye from the first iteration, the intro included.
    run.hold(5, scan::kUp);
    run.release(15, scan::kUp);
    run.run(20);
    const Game& g = game();
    EXPECT_EQ(g.view.collider, g.world.mazeModel(0));
    EXPECT_EQ(g.world.mazeCount, 3);
    // Ten iterations with Up held, 8 each, north from the home position.
    EXPECT_FLOAT_EQ(g.view.position.x, 790.0f);
    EXPECT_FLOAT_EQ(g.view.position.y, 40.0f);
    EXPECT_FLOAT_EQ(g.view.position.z, -105.0f - 80.0f);
}
