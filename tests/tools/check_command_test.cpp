#include "check_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/object_files.h"

namespace {

TEST(CheckCommand, ReportsEveryProblemWithFileAndLine) {
    TempDataFolder folder;
    ASSERT_TRUE(writeTestBitmap(folder.root() / "Pics" / "brick.bmp", 256, 256, 3));
    // Maze 0 a floor under its home, the others the small square.
    folder.writeObject("krv1.krv", replaced(kSquareFloor, "0, 0, 0\n100, 0, 0\n100, 0, 100\n0, 0, 100\n",
                                            "0, 0, -1000\n1000, 0, -1000\n1000, 0, 0\n0, 0, 0\n"));
    for (const char* maze : {"krv2.krv", "krv3.krv"}) folder.writeObject(maze, kSquareFloor);
    folder.writeObject("good.krv", kSquareFloor);
    const auto writeData = [&](const char* name, const std::string& text) {
        std::filesystem::create_directories(folder.root() / "Data");
        std::ofstream(folder.root() / "Data" / name) << text;
    };
    const std::string object = "O 0\ngood\ngood.krv\n1\n500\n0\n-500\n500\n0\n-500\nHello\n#\n";
    writeData("krv.lgk", "B 1\n50\n40\n50\n" + object);
    writeData("krv.qry", "Q\nTEXT\n50\n50\nWhat?\n#\n1\n");

    CheckReport clean = checkGameData(folder.root().string());
    EXPECT_TRUE(clean.problems.empty()) << clean.problems.front();
    EXPECT_EQ(clean.models, 4);
    EXPECT_EQ(clean.polygons, 4);
    EXPECT_EQ(clean.textures, 4);  // the logic file's object is loaded once, not again as a file
    EXPECT_EQ(clean.objects, 1);

    folder.writeObject("bad.krv", replaced(kSquareFloor, "1, 2, 3, 4\n", "1, 2, 3, 9\n"));
    folder.writeObject("other.krv", replaced(kSquareFloor, "brick.bmp", "missing.bmp"));
    std::filesystem::remove(folder.root() / "Objects" / "krv2.krv");
    // A passage into the maze that failed, a sound that does not exist, an
    // object whose model is broken.
    writeData("krv.lgk", "E 0\n1\n0\n0\n0\n0\n1\n1\n1\nS 0\n9\n0\n0\n0\n1\n1\n1\n" +
                             object + "O 0\nbad\nbad.krv\n0\n0\n0\n0\n0\n0\n0\n#\n");
    const CheckReport report = checkGameData(folder.root().string());
    ASSERT_EQ(report.problems.size(), 5u);
    EXPECT_EQ(report.problems[0], "Objects\\krv2.krv: cannot open the file");
    EXPECT_EQ(report.problems[1],
              "Data\\krv.lgk:1: passage to maze 1, whose model did not load");
    EXPECT_EQ(report.problems[2],
              "Data\\krv.lgk:10: warning: sound 9 is not one of the sounds 0 to 5: nothing will play");
    EXPECT_EQ(report.problems[3],
              "Data\\krv.lgk:30: object 'bad': Objects\\bad.krv:16: point index 9 outside 1 to 4");
    // bad.krv's fault is said once, at the object that names it.
    EXPECT_EQ(report.problems[4].rfind("Objects\\other.krv:25: ", 0), 0u) << report.problems[4];
}

TEST(CheckCommand, DefaultContentHasNoProblems) {
    const std::string game = KRV_GAME_DIR;
    ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(game) / "Objects" / "krv1.krv"))
        << "no generated content in " << game;
    const std::string previous = fw_data_root();
    const CheckReport report = checkGameData(game);
    fw_set_data_root(previous);
    EXPECT_TRUE(report.problems.empty()) << report.problems.front();
    EXPECT_GE(report.models, 3);
}

}  // namespace

namespace {

TEST(CheckCommand, ReportsTextThatWillNotShowWhole) {
    TempDataFolder folder;
    std::filesystem::create_directories(folder.root() / "Data");
    const auto writeData = [&](const char* name, const std::string& text) {
        std::ofstream(folder.root() / "Data" / name) << text;
    };
    writeData("krv.qry", "Q\nTEXT\n40\n381\n" + std::string(60, 'x') + "\n#\n1\n");
    writeData("krv.lgk", "O 0\ngood\ngood.krv\n1\n0\n0\n0\n0\n0\n0\n" + std::string(55, 'm') + "\n#\n");
    writeData("krv.end", "Thank you\n" + std::string(65, 'e') + "\n");
    const CheckReport report = checkGameData(folder.root().string());
    const auto has = [&](const std::string& start) {
        return std::any_of(report.problems.begin(), report.problems.end(),
                           [&](const std::string& p) { return p.rfind(start, 0) == 0; });
    };
    EXPECT_TRUE(has("Data\\krv.qry:5: warning: this question line runs to x 639"));
    EXPECT_TRUE(has("Data\\krv.lgk:11: warning: this message line has 55 characters"));
    EXPECT_TRUE(has("Data\\krv.end:2: warning: this ending line has 65 characters"));
}

}  // namespace
