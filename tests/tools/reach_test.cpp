// krvtool check's walk over the floors: what a player cannot reach, and
// objects that do not stand well.

#include <gtest/gtest.h>

#include <fstream>

#include "check/reach.h"
#include "support/test_models.h"

TEST(ReachCheck, FindsWhatAWalkingPlayerCannotReachAndObjectsThatStandBadly) {
    TestModelFolder folder;
    // Two rooms that no floor joins.
    auto maze = folder.load("maze", {floorRect(-200, -200, 200, 200, 0),
                                     floorRect(1000, 1000, 1200, 1200, 0)});
    auto cube = folder.load("cube", {floorRect(-10, -10, 10, 10, 0)}, 50);
    const std::string path = fw_data_root() + "/reach.lgk";
    std::ofstream(path) << "B 0\n150\n40\n150\n"                                  // 1
                        << "E 0\n0\n0\n100\n0\n100\n200\n100\n200\n"              // 5: reachable
                        << "E 0\n0\n0\n1100\n0\n1100\n1150\n100\n1150\n"          // 14: not
                        << "O 0\na\ncube.krv\n1\n100\n0\n-100\n100\n0\n-100\n#\n"  // 23: fine
                        << "O 0\nb\ncube.krv\n0\n1100\n0\n1100\n0\n30\n0\n#\n"     // 34
                        << "O 0\nc\ncube.krv\n0\n190\n0\n0\n190\n0\n0\n#\n";       // 45
    TextFile file;
    ASSERT_TRUE(file.openNative(path));
    const LogicFileContents contents = parseLogicFile(file);
    ASSERT_EQ(contents.records.size(), 6u);

    Model* const mazes[] = {maze.get()};
    const Model* const objects[] = {cube.get(), cube.get(), cube.get()};
    const std::vector<std::string> problems = checkReach(contents, mazes, objects, Vec3{0, 40, 0});
    const std::vector<std::string> expected = {
        "Data\\krv.lgk:1: start point (150, 40, 150) lies inside the passage box of line 5: the "
        "first step leads straight on",
        "Data\\krv.lgk:14: the passage box from (1100, 0, 1100) to (1150, 100, 1150) in maze 0 "
        "cannot be reached by a walking player",
        "Data\\krv.lgk:34: object 'b' at its position (1100, 0, 1100) cannot be reached by a "
        "walking player",
        "Data\\krv.lgk:34: object 'b' at its other position floats 30 units above the floor",
        "Data\\krv.lgk:45: object 'c' at its position turns into a wall or the skirting: keep its "
        "centre 15 units clear of them (near (204, 0, 0))",
    };
    EXPECT_EQ(problems, expected);
}

TEST(ReachCheck, WalksAndRoutesAsTheGameMovesNeverThroughAPassageOrUpADrop) {
    TestModelFolder folder;
    // Room A with the home, a corridor east to room B, and a pit west of A,
    // 200 lower: a player drops into it and never climbs out.
    auto maze = folder.load("maze", {floorRect(-200, -200, 200, 200, 0),
                                     floorRect(200, -40, 400, 40, 0),
                                     floorRect(400, -200, 800, 200, 0),
                                     floorRect(-600, -200, -200, 200, -200)});
    // The passage fills the corridor and leads back to room A's corner.
    const std::string path = fw_data_root() + "/route.lgk";
    std::ofstream(path) << "B 0\n-150\n40\n-150\n"                           // 1
                        << "E 0\n0\n0\n280\n-100\n-50\n320\n200\n50\n"       // 5
                        << "O 0\nb\nb.krv\n1\n600\n0\n0\n600\n0\n0\n#\n";    // 14
    TextFile file;
    ASSERT_TRUE(file.openNative(path));
    const LogicFileContents contents = parseLogicFile(file);
    Model* const mazes[] = {maze.get()};
    const Vec3 home{0, 40, 0};

    // Entering the passage takes the player on: room B is out of reach.
    const ReachWalk walk = walkReach(contents, mazes, home);
    EXPECT_TRUE(walk.mazes[0].anyInside(Box{{280, 0, -50}, {320, 100, 50}}));
    EXPECT_FALSE(walk.mazes[0].anyInside(objectReachBox(Vec3{600, 0, 0})));
    // An object whose reach the eye enters only inside the box (x 280, the
    // step after 272) never shows its question.
    EXPECT_TRUE(walk.mazes[0].anyInside(objectReachBox(Vec3{326, 0, 0})));
    EXPECT_FALSE(walk.mazes[0].anyStandingInside(objectReachBox(Vec3{326, 0, 0})));
    const Router router(mazes, walk);
    EXPECT_FALSE(router.route(0, home, 0, objectReachBox(Vec3{600, 0, 0})));

    // Into the pit: one lattice step per iteration, the drop included, and
    // the eye where the game puts it; out of it: no way.
    const auto down = router.route(0, home, 0, objectReachBox(Vec3{-500, -200, 0}));
    ASSERT_TRUE(down);
    Vec3 eye = home;
    for (const RouteStep& step : *down) {
        EXPECT_EQ(step.eye.x, eye.x + kLatticeOffsets[step.step][0]);
        EXPECT_EQ(step.eye.z, eye.z + kLatticeOffsets[step.step][1]);
        eye = step.eye;
    }
    EXPECT_EQ(down->size(), 57u);  // x 0 to -456, the first lattice x within 50 of -500
    EXPECT_EQ(eye.y, -160.0f);     // 40 above the pit
    EXPECT_FALSE(router.route(0, eye, 0, objectReachBox(Vec3{0, 0, 0})));

    // The start point lies off the lattice (x -150 between -144 and -152):
    // only the passage, 35 steps east, puts the eye on it.
    const auto on = router.route(0, home, 0, Box{{-150.5f, 39.5f, -150.5f}, {-149.5f, 40.5f, -149.5f}});
    ASSERT_TRUE(on);
    EXPECT_EQ(on->size(), 35u);
    EXPECT_EQ(on->back().eye.z, -150.0f);
}
