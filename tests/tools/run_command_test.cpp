// krvtool run and krvtool shot as an author meets them: output folders are
// made, nothing is written where it was not asked for, and a maze can be
// looked at before the quiz has a logic file.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "command.h"
#include "framework/files.h"

namespace {

namespace fs = std::filesystem;

class RunCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = fs::absolute(KRV_GAME_DIR);
        ASSERT_TRUE(fs::exists(game_ / "Objects" / "krv1.krv")) << "no generated content in " << game_;
        folder_ = fs::temp_directory_path() / ("krv_run_command_" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        saved_ = fs::current_path();
        savedRoot_ = fw_data_root();
        fs::current_path(folder_);
    }
    void TearDown() override {
        if (folder_.empty()) return;
        fs::current_path(saved_);
        fw_set_data_root(savedRoot_);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    static int tool(std::vector<std::string> words) {
        words.insert(words.begin(), "krvtool");
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        return run_krvtool(static_cast<int>(argv.size()), argv.data());
    }

    fs::path game_;
    fs::path folder_;
    fs::path saved_;
    std::string savedRoot_;
};

TEST_F(RunCommandTest, HashesAndSoundGoIntoNewFoldersAndNoPictureIntoTheWorkingFolder) {
    std::ofstream("keys.txt") << "2 shot\n4 end\n";
    ASSERT_EQ(tool({"run", "--data", game_.string(), "--script", "keys.txt", "--frame-hashes", "out/hashes.txt",
                    "--audio-out", "sound/run/all.wav"}),
              0);
    EXPECT_TRUE(fs::exists("out/hashes.txt"));
    EXPECT_GT(fs::file_size("sound/run/all.wav"), 44u);
    for (const auto& entry : fs::directory_iterator(".")) EXPECT_NE(entry.path().extension(), ".png") << entry.path();
}

TEST_F(RunCommandTest, ShotShowsTheMazesOfAFolderWithoutALogicFile) {
    const fs::path fresh = folder_ / "fresh";
    fs::create_directories(fresh / "Data");
    for (const char* name : {"Objects", "Pics", "Fonts", "Wavs"}) {
        fs::create_directory_symlink(game_ / name, fresh / name);
    }
    ASSERT_EQ(tool({"shot", fresh.string(), "--maze", "1", "--out", "maze.png"}), 0);
    EXPECT_GT(fs::file_size("maze.png"), 1000u);
    EXPECT_TRUE(fs::is_empty(fresh / "Data"));  // nothing written into the author's folder
}

}  // namespace
