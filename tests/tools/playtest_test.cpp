// krvtool playtest: the pilot wins quizzes in the real headless game, the
// keys it played replay through `krvtool run` to the very same frames, and a
// quiz nobody can win is refused with the logic file's line.

#include "proof/playtest.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command.h"
#include "framework/files.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

// Start points and passages of the default mazes 0 and 1: the cellar's north
// end leads to the Caves' mossy chamber, whose west end leads back.
constexpr const char* kTwoMazes =
    "B 0\n790\n40\n-105\n"
    "B 0\n1515\n-20\n-80\n"
    "B 1\n790\n40\n-105\n"
    "B 1\n265\n-20\n-80\n"
    "E 0\n1\n1\n1440\n-60\n-505\n1590\n60\n-455\n"
    "E 1\n0\n1\n140\n-60\n-55\n190\n50\n45\n";

// Three objects: the globe in the hall, the bat in the Caves, the crystal
// back in the hall's cellar (its record at line 59).
std::string smallQuizLogic(const std::string& crystalPlace) {
    return std::string(kTwoMazes) +
           "O 0\nglobe\nglobe.krv\n1\n765\n0\n-580\n390\n0\n-420\nFind the globe.\n#\n" +
           "O 1\nbat\nbat.krv\n0\n340\n-60\n-40\n230\n-60\n-40\nThe bat is in the Caves.\n#\n" +
           "O 0\ncrystal\ncrystal.krv\n0\n" + crystalPlace + "Back to the cellar.\n#\n";
}

constexpr const char* kSmallQuizQuestions =
    "Q\nTEXT\n40\n40\nOne?\n1: yes\n#\n1\n"
    "Q\nTEXT\n40\n40\nTwo?\n2: yes\n#\n2\n"
    "Q\nTEXT\n40\n40\nThree?\n3: yes\n#\n3\n";

class PlaytestTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("krv_playtest_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "quiz" / "Data");
    }
    void TearDown() override {
        fw_set_data_root("");
        fs::remove_all(root_);
    }

    // A quiz of the built game's models, pictures, font and sounds with a
    // logic and a question file of its own, no intro and a short ending.
    std::string smallQuiz(const std::string& logic) {
        const fs::path quiz = root_ / "quiz";
        for (const char* folder : {"Objects", "Pics", "Fonts", "Wavs"})
            fs::create_directory_symlink(fs::path(KRV_GAME_DIR) / folder, quiz / folder);
        std::ofstream(quiz / "Data" / "krv.lgk", std::ios::binary) << logic;
        std::ofstream(quiz / "Data" / "krv.qry", std::ios::binary) << kSmallQuizQuestions;
        std::ofstream(quiz / "Data" / "krv.end", std::ios::binary) << "WON\n";
        return quiz.string();
    }

    // The frame hashes of `krvtool run` replaying a key script, in order.
    std::vector<std::uint64_t> replay(const std::string& game, const std::string& script) {
        const std::string hashes = (root_ / "replay.hashes").string();
        std::vector<std::string> words = {"krvtool",  "run",  "--data",         game,
                                          "--script", script, "--frame-hashes", hashes};
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        EXPECT_EQ(run_krvtool(static_cast<int>(argv.size()), argv.data()), 0);
        std::vector<std::uint64_t> result;
        std::istringstream lines(readFile(hashes));
        int iteration = 0;
        std::string hash;
        while (lines >> iteration >> hash) result.push_back(std::stoull(hash, nullptr, 16));
        return result;
    }

    fs::path root_;
};

TEST_F(PlaytestTest, WinsTheDefaultQuizAndItsKeysReplayToTheSameFrames) {
    PlaytestOptions options;
    options.gameFolder = KRV_GAME_DIR;
    options.outFolder = (root_ / "out").string();
    const PlaytestResult result = runPlaytest(options);
    ASSERT_TRUE(result.won) << result.failure;
    EXPECT_EQ(result.questionScreens, 15);
    // The win comes before the ending, which runs to its end by itself.
    EXPECT_GT(result.winningIteration, result.firstPlayIteration);
    EXPECT_GT(result.lastIteration, result.winningIteration + 100);
    EXPECT_EQ(result.frameHashes.size(), static_cast<std::size_t>(result.lastIteration + 1));
    EXPECT_TRUE(fs::is_regular_file(result.proofSheetPath));

    // Every page the pilot's game showed, the replay shows at the same iteration.
    const std::vector<std::uint64_t> replayed = replay(KRV_GAME_DIR, result.keyScriptPath);
    EXPECT_EQ(replayed, result.frameHashes);
}

TEST_F(PlaytestTest, WinsAQuizOfItsOwnThroughTwoMazesAnsweringOneWronglyFirst) {
    PlaytestOptions options;
    options.gameFolder = smallQuiz(smallQuizLogic("1515\n-60\n-280\n1515\n-60\n-280\n"));
    options.outFolder = (root_ / "out").string();
    options.wrongObject = 1;
    const PlaytestResult result = runPlaytest(options);
    ASSERT_TRUE(result.won) << result.failure;
    EXPECT_EQ(result.questionScreens, 3);
    const std::string script = readFile(result.keyScriptPath);
    // The bat's question, answered 1 (wrong) first, then, at its other
    // place, 2; the answer keys in the order pressed.
    EXPECT_NE(script.find("question 2 (object 1 'bat'): 1, a wrong answer"), std::string::npos);
    EXPECT_NE(script.find("to object 1 'bat' at its other position"), std::string::npos);
    std::vector<std::string> answers;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string iteration, action, key;
        if (words >> iteration >> action >> key && action == "down" && key.size() == 1)
            answers.push_back(key);
    }
    EXPECT_EQ(answers, (std::vector<std::string>{"1", "1", "2", "3"}));
    EXPECT_EQ(replay(options.gameFolder, result.keyScriptPath), result.frameHashes);
}

TEST_F(PlaytestTest, FailsOnAnObjectSealedInRockNamingItsLine) {
    PlaytestOptions options;
    // x 1100, z -250 is solid rock between the hall and the corridor to the cellar.
    options.gameFolder = smallQuiz(smallQuizLogic("1100\n0\n-250\n1100\n0\n-250\n"));
    options.outFolder = (root_ / "out").string();
    const PlaytestResult result = runPlaytest(options);
    EXPECT_FALSE(result.won);
    EXPECT_EQ(result.failure.rfind("Data\\krv.lgk:59: object 'crystal' at its position "
                                   "(1100, 0, -250) in maze 0 cannot be reached by a walking "
                                   "player: the nearest floor a player reaches is ",
                                   0),
              0u)
        << result.failure;
}

}  // namespace
