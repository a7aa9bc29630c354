// What the builder writes reads back through the game's own readers as it
// was meant: every screen line at its place (a line starting with '#' too,
// which would otherwise end its block), the right answer, the picture, the
// object places and every message line. And a line of an older editor
// (Latin-1) reaches the game as the same letters.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "framework/files.h"
#include "logic/logic_file_parser.h"
#include "quiz/quiz_file.h"
#include "quiz/quiz_writer.h"
#include "shell/question_file.h"

namespace {

namespace fs = std::filesystem;

fs::path writeTemporary(const std::string& name, const std::string& text) {
    const fs::path path = fs::temp_directory_path() / (std::to_string(::getpid()) + name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

PlannedQuestion plannedQuestion() {
    QuestionScreenInput input{"Question 1 of 1", {"#1 of the charts: which song?"},
                              {"#hashtag", "the other"}, "Press 1 or 2.", 200, 100};
    PlannedQuestion plan;
    std::string problem;
    EXPECT_TRUE(layoutQuestion(input, plan.screen, problem)) << problem;
    plan.right = 2;
    plan.picture = "q01.bmp";
    plan.objectName = "globe";
    plan.objectFile = "globe.krv";
    plan.message = {"# not the end of the message", "", "Find it!"};
    plan.place.position = Vec3{100, 0, -200};
    plan.place.otherPosition = Vec3{300.5f, 20, -400};
    return plan;
}

TEST(QuizWriterTest, ScreensReadBackThroughTheGamesQuestionReader) {
    const PlannedQuestion plan = plannedQuestion();
    const fs::path path = writeTemporary("quiz.qry", questionFileText("Songs", std::span(&plan, 1)));
    TextFile file;
    ASSERT_TRUE(file.openNative(path.string()));
    const QuestionFileContent content = parseQuestionFile(file, "krv.qry");
    fs::remove(path);
    ASSERT_EQ(content.questions.size(), 1u);
    const QuestionRecord& read = content.questions[0];
    EXPECT_EQ(read.correctAnswer, 2);
    ASSERT_EQ(read.pictures.size(), 1u);
    EXPECT_EQ(read.pictures[0].name, "q01.bmp");
    EXPECT_EQ(read.pictures[0].x, plan.screen.picture->x);
    EXPECT_EQ(read.pictures[0].y, plan.screen.picture->y);
    std::vector<std::string> lines;
    for (const ScreenText& block : plan.screen.texts) {
        for (std::size_t i = 0; i < block.lines.size(); ++i) {
            const QuestionTextLine& line = read.textLines[lines.size()];
            EXPECT_EQ(line.x, block.x);
            EXPECT_EQ(line.y, block.y + static_cast<int>(i) * kLineHeight);
            lines.push_back(line.text);
        }
    }
    ASSERT_EQ(read.textLines.size(), lines.size());
    EXPECT_EQ(lines[2], " #1 of the charts: which song?");
    EXPECT_EQ(lines[3], "1: #hashtag");
}

TEST(QuizWriterTest, ObjectsReadBackThroughTheGamesLogicReader) {
    LogicFileContents base;
    base.records.push_back({0, 0, LogicStartPoint{StartPoint{790, 40, -105}}});
    base.records.push_back({0, 0, LogicPassage{1, 0, Box{Vec3{1, 2, 3}, Vec3{4, 5, 6}}}});
    const PlannedQuestion plan = plannedQuestion();
    const fs::path path = writeTemporary("quiz.lgk", logicFileText("Songs", base, std::span(&plan, 1)));
    TextFile file;
    ASSERT_TRUE(file.openNative(path.string()));
    const LogicFileContents read = parseLogicFile(file);
    fs::remove(path);
    ASSERT_TRUE(read.problems.empty());
    ASSERT_EQ(read.records.size(), 3u);
    const auto& passage = std::get<LogicPassage>(read.records[1].value);
    EXPECT_EQ(passage.targetMaze, 1);
    EXPECT_EQ(passage.box.max.z, 6.0f);
    const auto& object = std::get<LogicObject>(read.records[2].value);
    EXPECT_EQ(object.file, "globe.krv");
    EXPECT_EQ(object.active, 1);
    EXPECT_EQ(object.otherPosition.x, 300.5f);
    EXPECT_EQ(object.message, (std::vector<std::string>{" # not the end of the message", "", "Find it!"}));
}

TEST(QuizWriterTest, OlderEditorsLinesBecomeUtf8) {
    const QuizFile quiz = parseQuizFile("Welches Tier \xFC" "berwintert?\nA) ja\nB) nein\nANSWER: A\n");
    ASSERT_EQ(quiz.questions.size(), 1u);
    EXPECT_EQ(quiz.questions[0].text, std::vector<std::string>{"Welches Tier überwintert?"});
}

}  // namespace
