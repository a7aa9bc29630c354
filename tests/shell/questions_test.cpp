#include "shell/questions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/files.h"
#include "support/object_files.h"
#include "shell/question_file.h"

namespace {

QuestionFileContent parse(std::string_view text) {
    const TempDataFolder folder;
    folder.writeData("krv.qry", text);
    return readQuestionFile();
}

std::string lines(int count, std::string_view prefix) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += std::string(prefix) + std::to_string(i) + "\n";
    return text;
}

}  // namespace

TEST(QuestionFile, CommentsAndEmptyLinesOnlyGiveNoQuestions) {
    const QuestionFileContent content = parse("; nothing yet\n\n;Q\n\n");
    EXPECT_TRUE(content.opened);
    EXPECT_TRUE(content.questions.empty());
    EXPECT_EQ(content.stop, QuestionFileStop::None);
    EXPECT_TRUE(content.problems.empty());

    QuestionStore store;
    store.fill(content);
    EXPECT_EQ(store.currentQuestion(), nullptr);
    for (int answer = 0; answer <= 3; ++answer) EXPECT_FALSE(store.isRightAnswer(answer));
}

TEST(QuestionFile, TextBlockTakesEveryLineUpToTheHashLine) {
    // Inside a block empty lines, comments and "Q" are text; blocks of one
    // question accumulate and the last answer counts.
    const QuestionFileContent content = parse(
        "Q\nTEXT\n 40 px\n-60\nfirst\n\n; shown\nQ\n#\n1\n"
        "unknown line\nTEXT\n7\n8\n#comment ends it\n  +3 rest\n");
    ASSERT_EQ(content.questions.size(), 1u);
    const QuestionRecord& question = content.questions[0];
    ASSERT_EQ(question.textLines.size(), 4u);
    EXPECT_EQ(question.textLines[1].text, "");
    EXPECT_EQ(question.textLines[2].text, "; shown");
    EXPECT_EQ(question.textLines[3].text, "Q");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(question.textLines[i].x, 40);
        EXPECT_EQ(question.textLines[i].y, -60 + 20 * i);
    }
    EXPECT_EQ(question.correctAnswer, 3);
    EXPECT_EQ(question.answerLine, 16);
    EXPECT_TRUE(content.problems.empty()) << content.problems.front().describe();
}

TEST(QuestionFile, HashFirstGivesNoLinesButStillTheAnswer) {
    const QuestionFileContent content = parse("Q\nTEXT\n10\n20\n#\n2\n");
    ASSERT_EQ(content.questions.size(), 1u);
    EXPECT_TRUE(content.questions[0].textLines.empty());
    EXPECT_EQ(content.questions[0].correctAnswer, 2);
}

TEST(QuestionFile, QuestionWithoutTextBlockHasNoRightAnswer) {
    const QuestionFileContent content = parse("Q\nsomething else\nQ\nTEXT\n0\n0\nx\n#\n1\n");
    ASSERT_EQ(content.questions.size(), 2u);
    QuestionStore store;
    store.fill(content);
    for (int answer = 1; answer <= 3; ++answer) EXPECT_FALSE(store.isRightAnswer(answer));
    ASSERT_EQ(content.problems.size(), 1u);
    EXPECT_EQ(content.problems[0].describe(),
              "Data\\krv.qry:1: question without a TEXT block: no answer is right");
}

TEST(QuestionFile, TwentyFirstTextLineIsDroppedAndTheBlockStillEnds) {
    const QuestionFileContent content =
        parse("Q\nTEXT\n0\n100\n" + lines(21, "line ") + "#\n3\nQ\nTEXT\n0\n0\n#\n2\n");
    ASSERT_EQ(content.questions.size(), 2u);
    const QuestionRecord& first = content.questions[0];
    ASSERT_EQ(first.textLines.size(), 20u);
    EXPECT_EQ(first.textLines[19].text, "line 20");
    EXPECT_EQ(first.textLines[19].y, 100 + 19 * 20);
    EXPECT_EQ(first.correctAnswer, 3);
    EXPECT_EQ(content.questions[1].correctAnswer, 2);
    ASSERT_EQ(content.problems.size(), 1u);
    EXPECT_EQ(content.problems[0].line, 25);

    // The store keeps its own limit whatever it is given.
    Question question;
    for (int i = 0; i < 25; ++i) question.addTextLine(0, i, "x");
    EXPECT_EQ(question.textCount, 20);
}

TEST(QuestionFile, FileEndingInsideAnEntryKeepsWhatWasRead) {
    const QuestionFileContent cut = parse("Q\nTEXT\n5\n6\n#\n1\nTEXT\n1\n2\nkept\nalso kept");
    ASSERT_EQ(cut.questions.size(), 1u);
    ASSERT_EQ(cut.questions[0].textLines.size(), 2u);
    EXPECT_EQ(cut.questions[0].textLines[1].text, "also kept");
    EXPECT_EQ(cut.questions[0].correctAnswer, 1);  // the cut block gave none
    ASSERT_EQ(cut.problems.size(), 1u);
    EXPECT_EQ(cut.problems[0].line, 7);

    const QuestionFileContent noAnswer = parse("Q\nTEXT\n5\n6\nshown\n#");
    EXPECT_EQ(noAnswer.questions[0].textLines.size(), 1u);
    const QuestionFileContent halfPicture = parse("Q\nBITMAP\na.bmp\n3\n");
    EXPECT_TRUE(halfPicture.questions[0].pictures.empty());
    EXPECT_FALSE(halfPicture.problems.empty());
}

TEST(QuestionFile, OnlyAWholeQStartsAQuestionAndAtMostNineteenFit) {
    for (const char* start : {" Q\n", "q\n", "Q \n", "TEXT\n"}) {
        const QuestionFileContent content = parse(std::string("; first\n") + start + "Q\n");
        EXPECT_EQ(content.stop, QuestionFileStop::NoLeadingQ) << start;
        EXPECT_TRUE(content.questions.empty());
        ASSERT_FALSE(content.problems.empty());
        EXPECT_EQ(content.problems.back().line, 2);
    }
    std::string nineteen;
    for (int i = 0; i < 19; ++i) nineteen += "Q\nTEXT\n0\n0\n#\n1\n";
    EXPECT_EQ(parse(nineteen).stop, QuestionFileStop::None);
    const QuestionFileContent twenty = parse(nineteen + "Q\n");
    EXPECT_EQ(twenty.stop, QuestionFileStop::NoSpace);
    EXPECT_EQ(twenty.questions.size(), 19u);
}

TEST(QuestionFile, FatalConditionsEndTheProgramWithTheirMessages) {
    const auto loadFrom = [](std::string_view text) {
        const TempDataFolder folder;
        folder.writeData("krv.qry", text);
        QuestionStore store;
        store.loadQuestions();
    };
    EXPECT_EXIT(loadFrom(" Q\n"), ::testing::ExitedWithCode(1),
                "Question file must begin with a 'Q'!");
    std::string twenty;
    for (int i = 0; i < 20; ++i) twenty += "Q\n";
    EXPECT_EXIT(loadFrom(twenty), ::testing::ExitedWithCode(1), "No space for further questions!");
    EXPECT_EXIT(loadFrom("Q\nBITMAP\nmissing.bmp\n0\n0\n"), ::testing::ExitedWithCode(1),
                "Data\\\\krv.qry:3: Pics\\\\missing.bmp: missing\n"
                "Can't find all Bitmaps!");
    EXPECT_EXIT(loadFrom("Q\nBITMAP\nsub/../../outside.bmp\n0\n0\n"), ::testing::ExitedWithCode(1),
                "Data\\\\krv.qry:3: .*leads out of Pics\nCan't find all Bitmaps!");
}

TEST(QuestionStore, ReloadKeepsTheCurrentQuestionAndPicturesBeyondTwentyAreNeverLoaded) {
    std::string text;
    for (int answer = 1; answer <= 3; ++answer) {
        text += "Q\nTEXT\n0\n0\nquestion\n#\n" + std::to_string(answer) + "\n";
    }
    // Twenty pictures are loaded; the 21st is dropped before it is looked
    // for, so its absence ends nothing.
    text += "BITMAP\nmissing.bmp\n0\n0\n";
    std::string pictures;
    for (int i = 0; i < 20; ++i) pictures += "BITMAP\nsmall.bmp\n" + std::to_string(i) + "\n0\n";
    text.insert(text.rfind("BITMAP"), pictures);

    const TempDataFolder folder;
    folder.writeData("krv.qry", text);
    ASSERT_TRUE(writeTestBitmap(folder.root() / "Pics" / "small.bmp", 4, 4, 9));
    QuestionStore store;
    store.loadQuestions();
    ASSERT_EQ(store.questionCount, 3);
    EXPECT_EQ(store.questions[2].pictureCount, 20);
    EXPECT_EQ(store.questions[2].pictureX[19], 19);

    store.nextQuestion();
    store.nextQuestion();
    store.loadQuestions();
    EXPECT_EQ(store.current, 2);
    EXPECT_TRUE(store.isRightAnswer(3));
    EXPECT_FALSE(store.isRightAnswer(1));
    store.nextQuestion();
    EXPECT_EQ(store.current, 0);
    EXPECT_TRUE(store.isRightAnswer(1));

    // Without the file the store is empty again and nothing is right.
    std::filesystem::remove(folder.root() / "Data" / "krv.qry");
    store.loadQuestions();
    EXPECT_EQ(store.questionCount, 0);
    EXPECT_EQ(store.questions[2].pictureCount, 0);
    EXPECT_FALSE(store.isRightAnswer(1));
}
