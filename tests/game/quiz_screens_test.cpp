// What the player sees of a quiz, frame by frame in the running game: the
// message band giving way to the frame rate and to the question, Space
// restarting the message, the question's pictures over its text, a switch
// between window and full screen, and the ending scrolled out.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "support/object_files.h"
#include "support/headless_game.h"
#include "logic/world.h"
#include "support/quiz_folder.h"
#include "shell/callbacks.h"
#include "shell/game_palette.h"
#include "shell/message_band.h"

namespace {

constexpr int kCover = 5;  // the question picture's colour, no text's

// The built game without intro, with two objects standing at maze 0's home
// (the first step finds the sought one). The first question's picture
// covers the first letter of its text.
class QuizScreens : public ::testing::Test {
protected:
    void SetUp() override {
        quiz.remove("krv.int");
        quiz.write("krv.lgk",
                   "O 0\nfirst\nglobe.krv\n1\n790\n40\n-120\n800\n40\n-110\n"
                   "Look for the globe: it stands right where you began.\n#\n"
                   "O 0\nsecond\nchest.krv\n0\n790\n40\n-120\n790\n40\n-120\nThe chest.\n#\n");
        quiz.write("krv.qry", "Q\nTEXT\n50\n50\nOne?\n#\n1\nBITMAP\ncover.bmp\n50\n50\n"
                              "Q\nTEXT\n50\n50\nTwo?\n#\n3\n");
        quiz.write("krv.end", "HH\nHHHHHH\n");
        ASSERT_TRUE(writeTestBitmap(quiz.path / "Pics" / "cover.bmp", 20, 20, kCover));
    }

    // Steps the game to (not including) iteration `until`; false once it ended.
    bool stepTo(HeadlessGame& run, int until) {
        while (run.backend().iteration() < until) {
            if (!run.step()) return false;
        }
        return true;
    }

    // Pixels of the rectangle [x0, x1) x [y0, y1) of the last frame.
    static int count(const HeadlessGame& run, int x0, int y0, int x1, int y1, int value) {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) n += run.pixel(x, y) == value;
        }
        return n;
    }
    // Whether the message band of the last frame is the background alone.
    static bool bandIsBackground(const HeadlessGame& run) {
        const std::uint8_t* background = game().backgroundPicture->pixels;
        for (int y = MessageBand::kTop; y < MessageBand::kBottom; ++y) {
            for (int x = MessageBand::kLeft; x < MessageBand::kRight; ++x) {
                if (run.pixel(x, y) != background[y * kScreenWidth + x]) return false;
            }
        }
        return true;
    }

    QuizFolder quiz{"krv_quiz_screens"};
};

// Ink of the ending's white text in rows [y0, y1): its box.
struct Ink {
    int left = kScreenWidth, right = -1, top = kScreenHeight;
};
Ink inkIn(const HeadlessGame& run, int y0, int y1) {
    Ink ink;
    for (int y = std::max(y0, 0); y < std::min(y1, kScreenHeight); ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            if (run.pixel(x, y) != kWhite) continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
        }
    }
    return ink;
}

}  // namespace

TEST_F(QuizScreens, TheMessageBandGivesWayToFrameRateAndQuestionAndSpaceRestartsIt) {
    HeadlessGame run(quiz.root());
    run.press(30, scan::kT);
    run.press(36, scan::kT);
    run.press(40, scan::kSpace);
    run.press(44, scan::kDown);  // a step back: the question
    run.start();
    const World& world = game().world;

    ASSERT_TRUE(stepTo(run, 30));
    EXPECT_LT(world.messageY, 460);
    EXPECT_FALSE(bandIsBackground(run)) << "the message shows in its band";
    const std::int32_t y = world.messageY;
    for (int i = 30; i < 36; ++i) {
        ASSERT_TRUE(run.step());
        EXPECT_TRUE(bandIsBackground(run)) << "frame rate shown, iteration " << i;
    }
    EXPECT_EQ(world.messageY, y) << "the message does not move behind the frame rate";
    ASSERT_TRUE(stepTo(run, 40));
    EXPECT_LT(world.messageY, y);

    ASSERT_TRUE(run.step());  // Space
    EXPECT_GE(world.messageY, World::kMessageStartY - 2);
    EXPECT_EQ(world.messageScrolling, 1);

    ASSERT_TRUE(stepTo(run, 45));
    ASSERT_EQ(game().state.questionShown, 1);
    EXPECT_TRUE(bandIsBackground(run));
    // The picture lies over the text's first letter; the rest of the text
    // shows beside it.
    EXPECT_EQ(count(run, 50, 50, 70, 70, kCover), 400);
    EXPECT_GT(count(run, 70, 50, 50 + gfx_text_width("One?"), 70, kWhite), 10);
}

TEST_F(QuizScreens, AModeSwitchSetsThePaletteAndReadsTheQuestionsAgainKeepingTheCurrentOne) {
    HeadlessGame run(quiz.root());
    run.press(2, scan::kDown);
    run.press(4, scan::k1);  // right: the second question is current
    run.press(8, scan::kDown);
    run.press(10, scan::k2);
    run.start();
    ASSERT_TRUE(stepTo(run, 6));
    ASSERT_EQ(game().questions.current, 1);

    // Another quiz's questions, and a palette some other program left.
    quiz.write("krv.qry", "Q\nTEXT\n50\n50\nUno?\n#\n1\nQ\nTEXT\n50\n50\nDos?\n#\n2\n");
    const std::vector<PaletteEntry> black(256);
    fw_set_palette(black.data(), 256, 0);
    fw_realize_palette(256, 0, 1);
    on_mode_switched(ModeChoice{}, 0);

    const auto palette = game_palette();
    EXPECT_TRUE(std::equal(palette.begin(), palette.end(), fw_current_palette(),
                           [](const PaletteEntry& a, const PaletteEntry& b) {
                               return a.red == b.red && a.green == b.green && a.blue == b.blue;
                           }));
    EXPECT_EQ(game().questions.current, 1);
    EXPECT_EQ(game().questions.questions[1].textLines[0], "Dos?");
    ASSERT_TRUE(stepTo(run, 9));
    EXPECT_EQ(game().state.questionShown, 1);
    EXPECT_GT(count(run, 50, 50, 70, 70, kWhite), 10) << "no picture over the new question";
    ASSERT_TRUE(stepTo(run, 11));
    EXPECT_EQ(game().state.gameWon, 1) << "2 is the right answer now";
}

TEST_F(QuizScreens, TheEndingStepsEveryEightyMillisecondsCentredAndEndsWhenScrolledOut) {
    HeadlessGame run(quiz.root());
    run.backend().setClockStep(20000);  // four iterations to a step
    run.press(2, scan::kDown);
    run.press(4, scan::k1);
    run.press(6, scan::kDown);
    run.press(8, scan::k3);  // the win: the ending from this iteration on
    run.start();
    ASSERT_TRUE(stepTo(run, 9));
    ASSERT_EQ(game().state.gameWon, 1);

    const EndingText& ending = game().ending;
    std::vector<int> steps;  // iterations in which the text moved
    bool checkedLines = false;
    while (true) {
        const std::int32_t drawnAt = ending.scrollY;
        const bool goesOn = run.step();
        const std::int32_t now = ending.scrollY;
        if (now != drawnAt) {
            ASSERT_EQ(now, drawnAt - 2);
            steps.push_back(run.backend().iteration());
        }
        if (!goesOn) break;
        ASSERT_GE(now, -80) << "two lines are out once above -80, yet the game goes on";
        ASSERT_LT(run.backend().iteration(), 5000);
        if (drawnAt == 200 && !checkedLines) {
            // Each line centred on x 320, the second 20 pixels below the first.
            const Ink first = inkIn(run, 200, 220);
            const Ink second = inkIn(run, 220, 240);
            ASSERT_LE(first.left, first.right);
            EXPECT_EQ(second.top, first.top + 20);
            EXPECT_EQ(first.left + first.right, second.left + second.right);
            EXPECT_NEAR((first.left + first.right) / 2.0, 320.0, 2.0);
            EXPECT_GT(second.right - second.left, 2 * (first.right - first.left));
            EXPECT_EQ(inkIn(run, 240, kScreenHeight).right, -1);
            checkedLines = true;
        }
    }
    EXPECT_TRUE(checkedLines);
    EXPECT_EQ(ending.scrollY, -82);
    ASSERT_GT(steps.size(), 100u);
    for (std::size_t i = 1; i < steps.size(); ++i) {
        ASSERT_EQ(steps[i] - steps[i - 1], 4) << "a step per 80 ms, step " << i;
    }
}

TEST_F(QuizScreens, AnEmptyEndingScrollsItsEmptyScreenOutAMissingOneEndsAtOnce) {
    const auto winAt8 = [](HeadlessGame& run) {
        run.press(2, scan::kDown);
        run.press(4, scan::k1);
        run.press(6, scan::kDown);
        run.press(8, scan::k3);
    };
    quiz.write("krv.end", "\n\n");
    {
        HeadlessGame run(quiz.root());
        winAt8(run);
        EXPECT_EQ(run.run(5000), 0);
        EXPECT_FALSE(run.backend().stoppedByLimit());
        EXPECT_EQ(game().ending.scrollY, -42);
        EXPECT_EQ(count(run, 0, 0, kScreenWidth, kScreenHeight, 0), kScreenPixels);
    }
    {
        HeadlessGame run(quiz.root());
        winAt8(run);
        run.press(20, scan::kT);  // a key still ends it
        EXPECT_EQ(run.run(5000), 0);
        EXPECT_EQ(run.backend().iteration(), 21);
    }
    quiz.remove("krv.end");
    HeadlessGame run(quiz.root());
    winAt8(run);
    EXPECT_EQ(run.run(5000), 0);
    EXPECT_EQ(run.backend().iteration(), 9);
}
