// The default quiz won in the running game, from the first frame to the
// end of the ending, by content/walkthroughs/quiz.keys on the built game
// folder. Each answer key of the script must meet the question of the
// object it answers; the one wrong answer must move its object, every
// passage of the logic file must be taken and land on its start point, and
// the ending, not the script, must end the game with exit code 0. A route
// that stops reaching an object, a passage or a start point fails here.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "framework/files.h"
#include "framework/framework.h"
#include "framework/headless/headless.h"
#include "shell/game.h"
#include "shell/shell.h"

namespace {

std::string where(const Vec3& p) {
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ", " + std::to_string(p.z) + ")";
}

// What one loop iteration left behind.
struct Moment {
    int introOver = 0;
    int questionShown = 0;
    int gameWon = 0;
    int maze = 0;
    int currentObject = 0;
    int activeObject = -1;  // the one active object slot; -1 none, -2 several
    Vec3 eye;
    Vec3 firstObjectPosition;  // the object the script answers wrongly
};

class RecordingBackend : public HeadlessBackend {
public:
    std::vector<Moment> moments;

    void endIteration() override {
        const Game& g = game();
        Moment m;
        m.introOver = g.state.introOver;
        m.questionShown = g.state.questionShown;
        m.gameWon = g.state.gameWon;
        m.maze = g.world.currentMaze;
        m.currentObject = g.world.currentObject;
        for (int j = 0; j < g.world.objectCount; ++j) {
            if (g.world.objectSlots[j].active) m.activeObject = m.activeObject == -1 ? j : -2;
        }
        m.eye = g.view.position;
        m.firstObjectPosition = g.world.objectSlots[0].position;
        moments.push_back(m);
        HeadlessBackend::endIteration();
    }
};

// The iterations in which the script presses any of `keys`, in script order.
std::vector<int> pressesOf(const HeadlessBackend::KeyScript& script, std::initializer_list<int> keys) {
    std::vector<int> found;
    for (const auto& action : script.actions) {
        if (action.down && std::find(keys.begin(), keys.end(), action.scanCode) != keys.end())
            found.push_back(action.iteration);
    }
    return found;
}

class QuizPlaythrough : public ::testing::Test {
protected:
    void SetUp() override {
        const auto path = std::filesystem::path(KRV_CONTENT_SOURCE_DIR) / "walkthroughs" / "quiz.keys";
        std::ifstream file(path, std::ios::binary);
        ASSERT_TRUE(file) << "cannot open " << path;
        std::ostringstream text;
        text << file.rdbuf();
        std::string error;
        ASSERT_TRUE(HeadlessBackend::parseScript(text.str(), path.string(), script, error)) << error;
        ASSERT_GT(script.endIteration, 0) << "the script needs an end in case the game does not end";

        backend.reset();
        fw_reset();
        backend.setScript(script.actions);
        backend.setIterationLimit(script.endIteration + 1);
        backend.setAudioDevice(false);  // what is heard is tested elsewhere
        fw_use_backend(&backend);
        fw_set_data_root(KRV_GAME_DIR);
        create_game();
        exitCode = game_main();
    }
    void TearDown() override {
        if (game_exists()) destroy_game();
        fw_use_headless_backend();
        fw_reset();
        fw_set_data_root("");
    }

    const Moment& before(int iteration) const { return backend.moments.at(iteration - 1); }
    const Moment& at(int iteration) const { return backend.moments.at(iteration); }

    HeadlessBackend::KeyScript script;
    RecordingBackend backend;
    int exitCode = -1;
};

}  // namespace

TEST_F(QuizPlaythrough, WinsTheDefaultQuizThroughEveryObjectAndPassage) {
    const Game& g = game();
    const World& world = g.world;
    const auto& moments = backend.moments;
    ASSERT_EQ(world.objectCount, 15);

    // The intro plays a while before Esc ends it.
    const auto escapes = pressesOf(script, {scan::kEscape});
    ASSERT_EQ(escapes.size(), 1u);
    const int esc = escapes.front();
    EXPECT_GT(esc, 150) << "the intro's first picture gives way after 5 s: let it";
    EXPECT_EQ(before(esc).introOver, 0);
    EXPECT_EQ(at(esc).introOver, 1);

    // One answer per object and one more for the wrong first answer; each
    // meets its object's question.
    const auto answers = pressesOf(script, {scan::k1, scan::k2, scan::k3});
    ASSERT_EQ(answers.size(), static_cast<std::size_t>(world.objectCount) + 1);
    for (std::size_t k = 0; k < answers.size(); ++k) {
        const int object = k == 0 ? 0 : static_cast<int>(k) - 1;
        const int n = answers[k];
        SCOPED_TRACE("answer " + std::to_string(k) + " in iteration " + std::to_string(n));
        ASSERT_LT(n, static_cast<int>(moments.size())) << "the game ended before this answer";
        ASSERT_EQ(before(n).questionShown, 1) << "object " << object << " was not reached";
        EXPECT_EQ(before(n).currentObject, object);
        EXPECT_EQ(before(n).maze, world.objectSlots[object].mazeIndex);
        if (k == 0) {
            // Wrong: the object swaps to its other place and is sought again.
            EXPECT_EQ(at(n).questionShown, 0);
            EXPECT_EQ(at(n).activeObject, 0);
            EXPECT_TRUE(at(n).firstObjectPosition == world.objectSlots[0].position &&
                        at(n).firstObjectPosition != before(n).firstObjectPosition)
                << "object 0 stays at " << where(before(n).firstObjectPosition);
        } else if (object + 1 < world.objectCount) {
            EXPECT_EQ(at(n).questionShown, 0);
            EXPECT_EQ(at(n).activeObject, object + 1);
        } else {
            EXPECT_EQ(at(n).gameWon, 1);
            EXPECT_EQ(at(n).activeObject, -1);
        }
    }

    // A question comes up only where the script answers one.
    int questions = 0;
    for (std::size_t i = 1; i < moments.size(); ++i) {
        questions += moments[i].questionShown && !moments[i - 1].questionShown;
    }
    EXPECT_EQ(questions, static_cast<int>(answers.size()));

    // Every passage is taken and lands on its start point; no maze changes
    // any other way.
    struct Change {
        int from;
        int to;
        Vec3 eye;
    };
    std::vector<Change> changes;
    for (std::size_t i = 1; i < moments.size(); ++i) {
        if (moments[i].maze != moments[i - 1].maze)
            changes.push_back({moments[i - 1].maze, moments[i].maze, moments[i].eye});
    }
    EXPECT_EQ(changes.size(), 7u) << "0 to 1, back, 1 again, on to 2, back, 2 again, to 0";
    for (int m = 0; m < world.mazeCount; ++m) {
        const Slot& maze = world.mazeSlots[m];
        for (int p = 0; p < maze.passages.count; ++p) {
            const Passage& passage = maze.passages.items[p];
            const StartPoint& s =
                world.mazeSlots[passage.targetMaze].startPoints.items[passage.targetStartPoint];
            bool taken = false;
            for (const Change& c : changes) {
                taken = taken || (c.from == m && c.to == passage.targetMaze && c.eye == Vec3{s.x, s.y, s.z});
            }
            EXPECT_TRUE(taken) << "passage " << p << " of maze " << m << " is never taken";
        }
    }
    for (const Change& c : changes) {
        bool known = false;
        for (int p = 0; p < world.mazeSlots[c.from].passages.count; ++p) {
            known = known || world.mazeSlots[c.from].passages.items[p].targetMaze == c.to;
        }
        EXPECT_TRUE(known) << "maze " << c.from << " to " << c.to << " without a passage";
    }

    // The ending scrolls out and ends the game itself, before the script's end.
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(g.state.gameWon, 1);
    EXPECT_FALSE(backend.stoppedByLimit());
    EXPECT_LT(backend.iteration(), script.endIteration);
    EXPECT_LT(g.ending.scrollY, -EndingText::kLineSpacing * static_cast<int>(g.ending.lines.size()) - 40);
}
