#include "check_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "object_files.h"

namespace {

TEST(CheckCommand, ReportsEveryProblemWithFileAndLine) {
    TempDataFolder folder;
    if (!writeTestBitmap(folder.root() / "Pics" / "brick.bmp", 256, 256, 3)) {
        GTEST_SKIP() << "gfx_save_bitmap cannot write bitmaps yet";
    }
    for (const char* maze : {"krv1.krv", "krv2.krv", "krv3.krv"})
        folder.writeObject(maze, kSquareFloor);
    folder.writeObject("good.krv", kSquareFloor);

    CheckReport clean = checkGameData(folder.root().string());
    EXPECT_TRUE(clean.problems.empty()) << clean.problems.front();
    EXPECT_EQ(clean.models, 4);
    EXPECT_EQ(clean.polygons, 4);
    EXPECT_EQ(clean.textures, 4);

    folder.writeObject("bad.krv", replaced(kSquareFloor, "1, 2, 3, 4\n", "1, 2, 3, 9\n"));
    folder.writeObject("other.krv", replaced(kSquareFloor, "brick.bmp", "missing.bmp"));
    std::filesystem::remove(folder.root() / "Objects" / "krv2.krv");
    const CheckReport report = checkGameData(folder.root().string());
    ASSERT_EQ(report.problems.size(), 3u);
    EXPECT_EQ(report.problems[0], "Objects\\krv2.krv: cannot open the file");
    EXPECT_EQ(report.problems[1], "Objects\\bad.krv:16: point index 9 outside 1 to 4");
    EXPECT_EQ(report.problems[2].rfind("Objects\\other.krv:25: ", 0), 0u) << report.problems[2];
}

TEST(CheckCommand, DefaultContentHasNoProblems) {
    const std::string game = KRV_GAME_DIR;
    if (!std::filesystem::exists(std::filesystem::path(game) / "Objects" / "krv1.krv")) {
        GTEST_SKIP() << "no generated content in " << game;
    }
    const std::string previous = fw_data_root();
    const CheckReport report = checkGameData(game);
    fw_set_data_root(previous);
    EXPECT_TRUE(report.problems.empty()) << report.problems.front();
    EXPECT_GE(report.models, 3);
}

}  // namespace
