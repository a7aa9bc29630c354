// krvtool quiz end to end: quiz files in both formats become game folders
// that pass the game folder check, with every object on ground the reach
// walk reached and standing clear as it spins; mistakes write nothing and
// leave an earlier build as it was; a rebuild leaves nothing stale.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "check/game_mazes.h"
#include "check/reach.h"
#include "check_command.h"
#include "framework/files.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "logic/logic_file.h"
#include "pictures/canvas.h"
#include "proof/playtest.h"
#include "quiz/quiz_assets.h"
#include "quiz/quiz_build.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

// Every file under `folder` with its size: what a build left there.
std::set<std::string> listing(const fs::path& folder) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        files.insert(entry.path().lexically_relative(folder).string() + " " +
                     std::to_string(entry.file_size()));
    }
    return files;
}

bool savePictureFile(const fs::path& path, int width, int height);

const char* kGermanQuiz =
    "Title: Tiere und Pflanzen\n"
    "Language: de\n"
    "Intro: Finde alle Gegenstände und beantworte ihre Fragen!\n"
    "Intro picture: bilder/wald.bmp\n"
    "Page start: Drücke Enter zum Starten\n"
    "\n"
    "Welches Tier überwintert in Höhlen?\n"
    "A) die Fledermaus\n"
    "B) der Löwe\n"
    "C) der Fuchs\n"
    "ANSWER: A\n"
    "Picture: bilder/wald.bmp\n"
    "Object: apfel.shape\n"
    "Hint: Such den Apfel in der großen Halle.\n"
    "\n"
    "Wer baut Dämme?\n"
    "A) der Biber\n"
    "B) die Eule\n"
    "ANSWER: A\n"
    "Object: crystal\n"
    "\n"
    "Welcher Baum verliert im Herbst seine Blätter?\n"
    "A) die Tanne\n"
    "B) die Buche\n"
    "C) die Kiefer\n"
    "ANSWER: B\n"
    "\n"
    "Wie viele Beine hat eine Spinne?\n"
    "A) sechs\n"
    "B) acht\n"
    "C) zehn\n"
    "ANSWER: B\n"
    "Picture: bilder/wald.bmp\n"
    "\n"
    "Welcher Vogel ruft „Kuckuck“?\n"
    "A) der Kuckuck\n"
    "B) die Amsel\n"
    "ANSWER: A\n";

const char* kGiftQuiz =
    "// Exported from a learning platform\n"
    "::Ocean:: Which is the largest ocean? {~Atlantic =Pacific ~Indian}\n"
    "\n"
    "::Moon:: The Moon is a planet. {F}\n"
    "\n"
    "::Gap:: Water freezes at {=0 ~10 ~100} degrees Celsius.\n"
    "Hint: Find the next object.\n";

class QuizBuildTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("krv_quiz_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "bilder");
        ASSERT_TRUE(savePictureFile(root_ / "bilder" / "wald.bmp", 300, 200));
        writeFile(root_ / "apfel.shape",
                  "object apfel\ncolour 3 3 3\nprism 8 20 0 6\ncolour 5 0 0\nsphere 10 6 26 34\n");
        savedRoot_ = fw_data_root();
    }
    void TearDown() override {
        fw_set_data_root(savedRoot_);
        fs::remove_all(root_);
    }

    QuizBuildResult build(const std::string& name, const std::string& text, const fs::path& out) {
        writeFile(root_ / name, text);
        return buildQuiz((root_ / name).string(), {out.string(), KRV_GAME_DIR});
    }

    // Played in the headless game from its first frame to the end of its
    // ending: every object walked to and every question answered, one of
    // them wrongly first so the object's other place is walked to as well.
    void expectWonByPlaytest(const fs::path& game, int wrongObject) {
        PlaytestOptions options;
        options.gameFolder = game.string();
        options.outFolder = (root_ / "proof").string();
        options.wrongObject = wrongObject;
        const PlaytestResult play = runPlaytest(options);
        EXPECT_TRUE(play.won) << play.failure;
    }

    static std::string joined(const std::vector<std::string>& lines) {
        std::string out;
        for (const std::string& line : lines) out += line + "\n";
        return out;
    }

    // Every object of the built logic file where the walk reaches it, on
    // both its places, standing clear as it turns; mazes in route order.
    static void expectObjectsReachable(const fs::path& game) {
        fw_set_data_root(game.string());
        TextFile file;
        ASSERT_TRUE(file.open(kLogicFile));
        const LogicFileContents contents = parseLogicFile(file);
        TextureList textures;
        auto mazes = loadGameMazes(textures);
        std::vector<Model*> mazeModels;
        for (auto& maze : mazes) mazeModels.push_back(maze.get());
        const ReachWalk walk = walkReach(contents, mazeModels, kMazeHome);
        int lastMaze = 0;
        for (const LogicRecord& record : contents.records) {
            const auto* object = std::get_if<LogicObject>(&record.value);
            if (!object) continue;
            const Model model("Objects\\" + object->file, textures, kObjectCellSize, Vec3{}, ModelLoadMode::Check);
            ASSERT_TRUE(model.loaded) << object->file;
            for (const Vec3& p : {object->position, object->otherPosition}) {
                EXPECT_TRUE(walk.mazes[record.maze].anyInside(objectReachBox(p))) << "line " << record.line;
                EXPECT_EQ(standingProblem(*mazes[record.maze], model, p), "") << "line " << record.line;
            }
            EXPECT_GE(std::hypot(object->position.x - object->otherPosition.x,
                                 object->position.z - object->otherPosition.z),
                      100.0f)
                << "a wrong answer sends the object elsewhere, line " << record.line;
            EXPECT_GE(record.maze, lastMaze) << "later objects lie further on";
            lastMaze = record.maze;
        }
    }

    fs::path root_;
    std::string savedRoot_;
};

bool savePictureFile(const fs::path& path, int width, int height) {
    RgbCanvas canvas(width, height);
    canvas.verticalGradient(0, 0, width - 1, height - 1, rgb(20, 120, 40), rgb(200, 220, 90));
    return savePicture(canvas.quantise(nullptr, 0, false), path.string());
}

TEST_F(QuizBuildTest, GermanQuizBecomesAGameThatPassesItsCheck) {
    const fs::path out = root_ / "spiel";
    const QuizBuildResult result = build("tiere.txt", kGermanQuiz, out);
    ASSERT_EQ(joined(result.problems), "");
    EXPECT_EQ(checkGameData(out.string()).problems, std::vector<std::string>{});
    expectObjectsReachable(out);
    expectWonByPlaytest(out, 1);

    const std::string questions = readFile(out / "Data" / "krv.qry");
    EXPECT_NE(questions.find("Frage 2 von 5\n"), std::string::npos);
    EXPECT_NE(questions.find("Drücke 1 oder 2.\n"), std::string::npos);
    EXPECT_NE(questions.find("BITMAP\nq04.bmp\n"), std::string::npos);
    EXPECT_EQ(questions.find("Press"), std::string::npos) << "no English word in a German quiz";
    EXPECT_NE(readFile(out / "Data" / "krv.lgk").find("quiz_apfel\nquiz_apfel.krv\n1\n"), std::string::npos);
    EXPECT_EQ(readFile(out / "Data" / "page.txt"),
              "; The page's own words, made by krvtool quiz.\n"
              "title: Tiere und Pflanzen\n"
              "start: Drücke Enter zum Starten\n");
    EXPECT_NE(readFile(out / "Data" / "krv.end").find("Tiere und Pflanzen\n"), std::string::npos);
}

TEST_F(QuizBuildTest, ExportedBraceFileBecomesAGameThatPassesItsCheck) {
    const fs::path out = root_ / "gift";
    const QuizBuildResult result = build("ocean.gift", kGiftQuiz, out);
    ASSERT_EQ(joined(result.problems), "");
    EXPECT_EQ(checkGameData(out.string()).problems, std::vector<std::string>{});
    expectObjectsReachable(out);
    expectWonByPlaytest(out, -1);
    const std::string questions = readFile(out / "Data" / "krv.qry");
    EXPECT_NE(questions.find("1: True\n2: False\n\nPress 1 or 2.\n#\n2\n"), std::string::npos);
    EXPECT_NE(questions.find("Water freezes at ___ degrees Celsius."), std::string::npos);
}

TEST_F(QuizBuildTest, MistakesWriteNothingAndRebuildsLeaveNothingStale) {
    const fs::path out = root_ / "spiel";
    ASSERT_EQ(joined(build("tiere.txt", kGermanQuiz, out).problems), "");
    const std::set<std::string> first = listing(out);

    const QuizBuildResult bad = build("kaputt.txt",
                                      "Wer baut Dämme?\n"
                                      "A) der Biber\nB) die Eule\n"
                                      "ANSWER: C\n"
                                      "Picture: bilder/fehlt.png\n"
                                      "Object: einhorn\n",
                                      out);
    const std::string file = (root_ / "kaputt.txt").string();
    ASSERT_EQ(bad.problems.size(), 3u);
    EXPECT_EQ(bad.problems[0], file + ":4: ANSWER: 'C' is not the letter of one of the answers: write one of A to B");
    EXPECT_EQ(bad.problems[1], file + ":5: picture 'bilder/fehlt.png' is missing: add the file beside "
                               "the questions, or write its path from there");
    EXPECT_TRUE(bad.problems[2].starts_with(file + ":6: unknown object 'einhorn': use one of bat, chest, "));
    EXPECT_EQ(listing(out), first) << "a failed build left the earlier one as it was";
    EXPECT_FALSE(fs::exists(root_ / ".spiel.quiz-new"));

    // A shorter quiz over the same folder: the same as into an empty one.
    ASSERT_EQ(joined(build("kurz.txt", kGiftQuiz, out).problems), "");
    ASSERT_EQ(joined(build("kurz.txt", kGiftQuiz, root_ / "frisch").problems), "");
    EXPECT_EQ(listing(out), listing(root_ / "frisch"));
    EXPECT_FALSE(fs::exists(out / "Pics" / "q01.bmp"));
    EXPECT_FALSE(fs::exists(out / "Objects" / "quiz_apfel.krv"));

    // A folder that is not a game is never replaced.
    writeFile(root_ / "notizen" / "brief.txt", "Liebe Eltern");
    const QuizBuildResult refused = build("kurz.txt", kGiftQuiz, root_ / "notizen");
    ASSERT_EQ(refused.problems.size(), 1u);
    EXPECT_NE(refused.problems[0].find("is not a game folder"), std::string::npos);
    EXPECT_EQ(readFile(root_ / "notizen" / "brief.txt"), "Liebe Eltern");

    // Nor one that holds the quiz file: a rebuild would delete it.
    writeFile(out / "kurz.txt", kGiftQuiz);
    const QuizBuildResult inside = buildQuiz((out / "kurz.txt").string(), {out.string(), KRV_GAME_DIR});
    ASSERT_EQ(inside.problems.size(), 1u);
    EXPECT_NE(inside.problems[0].find("which is made afresh"), std::string::npos);
    EXPECT_TRUE(fs::exists(out / "kurz.txt"));
}

// Two rooms joined by a corridor, the home in the south room; `marks` is
// the marks grid and its mark lines.
std::string roomsMaze(const std::string& marks) {
    return "maze \"Two Rooms\"\ncell 50\norigin 640 -505\nhome 790 40 -105\n"
           "skirting 20 20 plinth\nscale 128\n"
           "legend\n# solid walls brick\n. floor 0 ceiling 150 ground wood roof plaster walls brick\nend\n"
           "map\n############\n#..........#\n#..........#\n#..........#\n####..######\n"
           "#..........#\n#..........#\n#..........#\n#..........#\n############\nend\n" +
           marks;
}

TEST_F(QuizBuildTest, OwnMazesTakeTheGamesPlacesAndPinObjectsToTheirMarks) {
    writeFile(root_ / "rooms.maze",
              roomsMaze("marks\n............\n............\n......qq....\n......qq....\n............\n"
                        "............\n.....oo.....\n.....oo..TT.\n.........TT.\n............\nend\n"
                        "mark o object first\nmark q object north\nmark T passage cellar\n"));
    writeFile(root_ / "cellar.maze",
              roomsMaze("marks\n............\n............\n.........CC.\n.........CC.\n............\n"
                        "............\n.....dd.....\n.....dd.....\n............\n............\nend\n"
                        "mark C start cellar\nmark d object deep\n"));
    const fs::path out = root_ / "rooms";
    const QuizBuildResult result = build("rooms.txt",
                                         "Maze: rooms.maze\nMaze: cellar.maze\n"
                                         "Which?\nA) this\nB) that\nANSWER: A\nPlace: north\nObject: crystal\n"
                                         "Which else?\nA) this\nB) that\nANSWER: B\nPlace: deep\n"
                                         "And now?\nA) this\nB) that\nANSWER: B\n",
                                         out);
    ASSERT_EQ(joined(result.problems), "");
    EXPECT_EQ(checkGameData(out.string()).problems, std::vector<std::string>{});
    expectObjectsReachable(out);
    const std::string logic = readFile(out / "Data" / "krv.lgk");
    // Mark q covers columns 6-7 and rows 2-3: its centre is (990, 0, -355);
    // d of the second maze (940, 0, -155). The passage leads to start point
    // 0 of maze 1, its start mark of the same name.
    EXPECT_NE(logic.find("O 0\ncrystal\ncrystal.krv\n1\n990\n0\n-355\n"), std::string::npos);
    EXPECT_NE(logic.find("O 1\n"), std::string::npos);
    EXPECT_NE(logic.find("\n940\n0\n-155\n"), std::string::npos);
    EXPECT_NE(logic.find("E 0\n1\n0\n1090\n0\n-155\n1190\n150\n-55\n"), std::string::npos);

    const QuizBuildResult unknown = build("rooms2.txt",
                                          "Maze: rooms.maze\nMaze: cellar.maze\n"
                                          "Which?\nA) this\nB) that\nANSWER: A\nPlace: deep\n"
                                          "Which else?\nA) this\nB) that\nANSWER: A\nPlace: north\n"
                                          "And now?\nA) this\nB) that\nANSWER: A\nPlace: south\n",
                                          root_ / "rooms2");
    EXPECT_EQ(joined(unknown.problems),
              (root_ / "rooms2.txt").string() +
                  ":17: no object mark 'south' in rooms.maze or cellar.maze: the object marks are first, "
                  "north, deep\n");
    const QuizBuildResult backwards = build("rooms3.txt",
                                            "Maze: rooms.maze\nMaze: cellar.maze\n"
                                            "Which?\nA) this\nB) that\nANSWER: A\nPlace: deep\n"
                                            "Which else?\nA) this\nB) that\nANSWER: A\nPlace: north\n",
                                            root_ / "rooms3");
    EXPECT_EQ(joined(backwards.problems),
              (root_ / "rooms3.txt").string() +
                  ":12: place 'north': question 2: its mark is in maze 0, which the way passes before the "
                  "mark of an earlier question: the mazes are visited in order, so put the questions in "
                  "that order\n");
}

}  // namespace
