// krvtool check's walk over the floors: what a player cannot reach, and
// objects that do not stand well.

#include <gtest/gtest.h>

#include <fstream>

#include "check/reach.h"
#include "collision/test_models.h"

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
