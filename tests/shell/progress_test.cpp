// Progress kept as text and given back: the state a player leaves comes back
// whole in a fresh game, and progress of another quiz or garbage changes
// nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/headless_game.h"
#include "support/quiz_folder.h"
#include "shell/progress.h"

namespace {

namespace fs = std::filesystem;

// Three objects at maze 0's home, each with another place nearby, and an
// intro that lasts unless Esc ends it.
class ProgressRun : public ::testing::Test {
protected:
    void SetUp() override {
        write("krv.lgk",
              "O 0\na\nglobe.krv\n1\n790\n40\n-120\n800\n40\n-110\none\n#\n"
              "O 0\nb\nchest.krv\n0\n790\n40\n-120\n780\n40\n-110\ntwo\n#\n"
              "O 0\nc\nglobe.krv\n0\n790\n40\n-120\n790\n40\n-130\nthree\n#\n");
        write("krv.qry", "Q\nTEXT\n50\n50\nOne?\n#\n1\nQ\nTEXT\n50\n50\nTwo?\n#\n3\n"
                         "Q\nTEXT\n50\n50\nThree?\n#\n2\n");
        write("krv.int", "-\n0\n0\n10000\n");
    }
    void write(const char* name, const char* text) { quiz.write(name, text); }

    // Tests run in parallel processes: each has a folder of its own.
    QuizFolder quiz{"krv_progress_run"};
    const fs::path& folder = quiz.path;
};

}  // namespace

TEST_F(ProgressRun, APlayersPlaceAndAnswersComeBackInAFreshGame) {
    std::string kept;
    {
        HeadlessGame first(folder.string());
        first.press(1, scan::kEscape);
        first.press(3, scan::kDown);  // the first question shows
        first.press(5, scan::k1);     // right
        first.press(7, scan::kDown);
        first.press(9, scan::k2);     // wrong: the second object moves
        first.hold(11, scan::kLeft);
        first.release(14, scan::kLeft);
        first.press(16, scan::kDown);
        first.run(20);
        Progress progress;
        ASSERT_TRUE(captureProgress(game(), progress));
        kept = formatProgress(progress);
        EXPECT_EQ(progress.currentObject, 1);
        EXPECT_EQ(progress.objects[1].position.x, 780.0f);
    }
    HeadlessGame second(folder.string());
    second.run(2);  // still in the intro: nothing to keep yet
    Progress none;
    EXPECT_FALSE(captureProgress(game(), none));

    Progress progress;
    std::string why;
    ASSERT_TRUE(parseProgress(kept, progress, why)) << why;
    ASSERT_TRUE(applyProgress(game(), progress, why)) << why;
    Progress again;
    ASSERT_TRUE(captureProgress(game(), again));
    EXPECT_EQ(formatProgress(again), kept);
    EXPECT_EQ(game().world.objectSlots[0].active, 0);
    EXPECT_EQ(game().world.objectSlots[1].active, 1);
    EXPECT_EQ(game().questions.current, 1);
    EXPECT_EQ(game().messages.currentMessage, 1);
}

TEST_F(ProgressRun, ThePlatformIsHandedProgressAsTheGameGoesAndGivesItBack) {
    std::string kept;
    {
        HeadlessGame first(folder.string());
        first.press(1, scan::kEscape);
        first.press(3, scan::kDown);
        first.press(5, scan::k1);  // right: kept in this iteration
        first.run(7);
        kept = first.backend().keptProgress();
        Progress progress;
        std::string why;
        ASSERT_TRUE(parseProgress(kept, progress, why)) << why;
        EXPECT_EQ(progress.currentObject, 0);
        EXPECT_TRUE(progress.objects[1].active);
    }
    // Continuing passes the intro at once; answering the last two wins, and
    // then nothing is left to continue.
    HeadlessGame second(folder.string());
    second.backend().setSavedProgress(kept);
    second.press(2, scan::kDown);
    second.press(4, scan::k3);
    second.press(6, scan::kDown);
    second.press(8, scan::k2);
    second.run(12);
    EXPECT_EQ(game().state.gameWon, 1);
    EXPECT_TRUE(second.backend().keptProgress().empty());

    HeadlessGame stale(folder.string());
    stale.backend().setSavedProgress("KRV-PROGRESS 1 garbage");
    stale.run(3);
    EXPECT_EQ(game().state.introOver, 0);  // a new game, its intro running
    // ... and the platform forgets it, so it is not offered again.
    EXPECT_EQ(stale.backend().progressKeeps(), 1);
    EXPECT_TRUE(stale.backend().keptProgress().empty());
}

// F10 in the middle of a walk: the steps since the last regular keep are
// kept too, so continuing starts where the player stood.
TEST_F(ProgressRun, EndingTheGameByAKeyKeepsTheLastSteps) {
    HeadlessGame run(folder.string());
    run.press(1, scan::kEscape);
    run.hold(3, scan::kLeft);
    run.press(8, scan::kF10);
    run.run(40);
    Progress progress;
    ASSERT_TRUE(captureProgress(game(), progress));
    EXPECT_EQ(run.backend().keptProgress(), formatProgress(progress));
}

TEST_F(ProgressRun, ProgressOfAnotherQuizOrGarbageChangesNothing) {
    HeadlessGame run(folder.string());
    run.press(1, scan::kEscape);
    run.run(3);
    Progress progress;
    ASSERT_TRUE(captureProgress(game(), progress));
    const std::string before = formatProgress(progress);
    std::string why;

    Progress other = progress;
    other.quizKey ^= 1;
    other.currentObject = 2;
    EXPECT_FALSE(applyProgress(game(), other, why));
    EXPECT_NE(why.find("another quiz"), std::string::npos);

    Progress moved = progress;
    moved.objects[0].position.x = 123.0f;
    EXPECT_FALSE(applyProgress(game(), moved, why));

    Progress wild = progress;
    wild.maze = 7;
    EXPECT_FALSE(applyProgress(game(), wild, why));

    Progress parsed;
    for (const char* text : {"", "KRV-PROGRESS 2 0", "KRV-PROGRESS 1 zz", "hello",
                             "KRV-PROGRESS 1 1 0 0 0 0 0 999999999999"}) {
        EXPECT_FALSE(parseProgress(text, parsed, why)) << text;
    }
    const std::string cut = before.substr(0, before.size() - 3);
    EXPECT_FALSE(parseProgress(cut, parsed, why));
    EXPECT_FALSE(parseProgress(before + " 1", parsed, why));

    Progress after;
    ASSERT_TRUE(captureProgress(game(), after));
    EXPECT_EQ(formatProgress(after), before);
}
