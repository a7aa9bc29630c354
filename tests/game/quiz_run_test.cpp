// The keys of a quiz through the real game loop: the intro giving way, a
// question found and answered wrongly, with Space and with a digit, and the
// win handing over to the ending in the same iteration.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/headless_game.h"
#include "support/quiz_folder.h"
#include "shell/ending.h"

namespace {

namespace fs = std::filesystem;

// The built game with a quiz of two objects standing at maze 0's home, so
// the first step finds the sought one; each has its other position there
// too. The intro lasts ten seconds unless Esc ends it.
class QuizRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(fs::path(KRV_GAME_DIR) / "Pics" / "border1.bmp"));
        write("krv.lgk",
              "O 0\nfirst\nglobe.krv\n1\n790\n40\n-120\n800\n40\n-110\nfirst message\n#\n"
              "O 0\nsecond\nchest.krv\n0\n790\n40\n-120\n790\n40\n-120\nsecond\nmessage\n#\n");
        write("krv.qry", "Q\nTEXT\n50\n50\nOne?\n#\n1\nQ\nTEXT\n50\n50\nTwo?\n#\n3\n");
        write("krv.int", "-\n0\n0\n10000\n");
        write("krv.end", "Well done\n");
    }
    void write(const char* name, const char* text) { quiz.write(name, text); }

    // Tests run in parallel processes: each has a folder of its own.
    QuizFolder quiz{"krv_quiz_run"};
    const fs::path& folder = quiz.path;
};

}  // namespace

TEST_F(QuizRun, EscEndsTheIntroWithoutOpeningTheMenu) {
    HeadlessGame run(folder.string());
    run.press(2, scan::kEscape);
    run.run(5);
    EXPECT_EQ(game().state.introOver, 1);
    EXPECT_EQ(game().state.optionsShown, 0);
}

TEST_F(QuizRun, WrongAnswerMovesTheObjectSpaceAnswersOneAndTheWinEndsTheGame) {
    {
        HeadlessGame partial(folder.string());
        partial.press(1, scan::kEscape);
        partial.press(3, scan::kDown);  // a step back: still within reach of the object
        partial.run(5);
        EXPECT_EQ(game().state.questionShown, 1);
        EXPECT_EQ(game().world.currentObject, 0);
    }
    HeadlessGame run(folder.string());
    run.press(1, scan::kEscape);
    run.press(3, scan::kDown);
    run.press(5, scan::k2);      // wrong
    run.press(7, scan::kDown);
    run.press(9, scan::kSpace);  // answers 1: right, the second object is sought
    run.press(11, scan::kUp);
    run.press(13, scan::k3);     // right: the game is won
    run.press(16, scan::kT);     // any key during the ending ends the game
    EXPECT_EQ(run.run(200), 0);
    const Game& g = game();
    EXPECT_EQ(run.backend().iteration(), 17);
    EXPECT_EQ(g.world.objectSlots[0].position.x, 800.0f);  // moved by the wrong answer
    EXPECT_EQ(g.world.objectSlots[0].active, 0);
    EXPECT_EQ(g.world.objectSlots[1].active, 0);
    EXPECT_EQ(g.messages.currentMessage, 1);
    EXPECT_EQ(g.state.gameWon, 1);
    EXPECT_EQ(g.state.questionShown, 1);
}
