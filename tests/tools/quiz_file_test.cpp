// The quiz file reader and the screen layout: both question formats as
// platforms write them, our own lines, every mistake by its line, and
// screens that fit the view in the game font's cells.

#include <gtest/gtest.h>

#include <string>

#include "quiz/quiz_file.h"
#include "quiz/quiz_layout.h"

namespace {

std::string problemsOf(const QuizFile& quiz) {
    std::string out;
    for (const QuizProblem& problem : quiz.problems) out += problem.describe("q.txt") + "\n";
    return out;
}

TEST(QuizFileTest, LetterFormatWithOurOwnLinesInGerman) {
    const QuizFile quiz = parseQuizFile(
        "\xEF\xBB\xBFTitle: Tiere im Wald\r\n"
        "Language: de\r\n"
        "Page start: Drücke Enter\r\n"
        "Text press 3: Wähle 1, 2 oder 3.\r\n"
        "\r\n"
        "Welches Tier überwintert in Höhlen?\r\n"
        "A) die Fledermaus\r\n"
        "B) der Löwe\r\n"
        "C. der Fuchs\r\n"
        "ANSWER: A\r\n"
        "Picture: bilder/fledermaus.png\r\n"
        "Hint: Such die Fledermaus!\r\n"
        "Hint: Sie hängt kopfüber.\r\n"
        "Wer baut Dämme?\r\n"
        "A) der Biber\r\n"
        "B) die Eule\r\n"
        "ANSWER: a\r\n"
        "object: globe\r\n");
    ASSERT_EQ(problemsOf(quiz), "");
    EXPECT_EQ(quiz.format, QuizFormat::Letters);
    EXPECT_EQ(quiz.title.text, "Tiere im Wald");
    ASSERT_EQ(quiz.questions.size(), 2u);
    const QuizQuestion& bat = quiz.questions[0];
    EXPECT_EQ(bat.line, 6);
    EXPECT_EQ(bat.text, std::vector<std::string>{"Welches Tier überwintert in Höhlen?"});
    EXPECT_EQ(bat.answers, (std::vector<std::string>{"die Fledermaus", "der Löwe", "der Fuchs"}));
    EXPECT_EQ(bat.right, 1);
    EXPECT_EQ(bat.picture.text, "bilder/fledermaus.png");
    EXPECT_EQ(bat.hint, (std::vector<std::string>{"Such die Fledermaus!", "Sie hängt kopfüber."}));
    EXPECT_EQ(quiz.questions[1].answers.size(), 2u);
    EXPECT_EQ(quiz.questions[1].object.text, "globe");
    // The language's words, with the quiz's own over them.
    EXPECT_EQ(quiz.words.question, "Frage {n} von {total}");
    EXPECT_EQ(quiz.words.press2, "Drücke 1 oder 2.");
    EXPECT_EQ(quiz.words.press3, "Wähle 1, 2 oder 3.");
    ASSERT_EQ(quiz.page.size(), 1u);
    EXPECT_EQ(quiz.page[0].key, "start");
    EXPECT_EQ(quiz.page[0].value.text, "Drücke Enter");
}

TEST(QuizFileTest, LetterFormatMistakesByLine) {
    const QuizFile quiz = parseQuizFile(
        "Picture: early.png\n"       // 1: before any question
        "Which is red?\n"            // 2
        "A) a cherry\n"
        "B) a lime\n"
        "ANSWER: D\n"                // 5: no such answer
        "Which has no answers?\n"    // 6
        "ANSWER: A\n"
        "Which has four?\n"          // 8
        "A) one\nB) two\nC) three\nD) four\n"
        "ANSWER: A\n"
        "Which never ends?\n"        // 14
        "A) this\nB) that\n"
        "Text colour: red\n"         // 17: not one of our texts
        "Which is fine?\n"           // 18: the question above had no ANSWER
        "A) this\nB) that\nANSWER: B\n"
        "Picture: ../../private/photo.jpg\n"  // 22: files stay in the quiz file's folder
        "Maze: /home/someone/hall.maze\n");  // 23
    EXPECT_EQ(problemsOf(quiz),
              "q.txt:1: Picture: stands before the first question: write it below the question it "
              "belongs to\n"
              "q.txt:5: ANSWER: 'D' is not the letter of one of the answers: write one of A to B\n"
              "q.txt:6: the question has no answers: write two or three below it, one a line, as "
              "A) ... B) ... C) ...\n"
              "q.txt:8: the question has 4 answers or more (line 12): the game answers with the keys "
              "1 to 3: give two or three answers\n"
              "q.txt:14: the question has no ANSWER: line: end it with ANSWER: and the letter of the "
              "right answer\n"
              "q.txt:17: unknown 'Text colour:': the texts are question, press 3, press 2, first "
              "hint, next hint, next maze, true and false\n"
              "q.txt:22: Picture: '../../private/photo.jpg' is outside the quiz file's folder: put "
              "the file in that folder (or a folder in it) and give its name from there\n"
              "q.txt:23: Maze: '/home/someone/hall.maze' is outside the quiz file's folder: put "
              "the file in that folder (or a folder in it) and give its name from there\n");
}

TEST(QuizFileTest, TwentyQuestionsAreTooMany) {
    std::string text;
    for (int i = 0; i < 20; ++i) text += "Question?\nA) yes\nB) no\nANSWER: A\n\n";
    const QuizFile quiz = parseQuizFile(text);
    EXPECT_EQ(problemsOf(quiz),
              "q.txt:96: question 20: the game holds at most 19 questions: make two quizzes of this one\n");
}

TEST(QuizFileTest, BraceFormatAsPlatformsExportIt) {
    const QuizFile quiz = parseQuizFile(
        "// exported\n"
        "$CATEGORY: $course$/Science\n"
        "\n"
        "::Q1:: [html]<p>Which planet has <b>rings</b>?</p> {\n"
        "  ~Mars#No.\n"
        "  =Saturn#Yes!\n"
        "  ~%-50%Venus\n"
        "}\n"
        "Object: planet\n"
        "\n"
        "::Q2::Is 2 \\= 1 \\{really\\}? {F}\n"
        "\n"
        "Water boils at {=100 ~50 ~20} degrees.\n"
        "Text true: Stimmt\n"
        "Text false: Stimmt nicht\n");
    ASSERT_EQ(problemsOf(quiz), "");
    EXPECT_EQ(quiz.format, QuizFormat::Braces);
    ASSERT_EQ(quiz.questions.size(), 3u);
    EXPECT_EQ(quiz.questions[0].line, 4);
    EXPECT_EQ(quiz.questions[0].text, std::vector<std::string>{"Which planet has rings?"});
    EXPECT_EQ(quiz.questions[0].answers, (std::vector<std::string>{"Mars", "Saturn", "Venus"}));
    EXPECT_EQ(quiz.questions[0].right, 2);
    EXPECT_EQ(quiz.questions[0].object.text, "planet");
    EXPECT_EQ(quiz.questions[1].text, std::vector<std::string>{"Is 2 = 1 {really}?"});
    EXPECT_EQ(quiz.questions[1].answers, (std::vector<std::string>{"Stimmt", "Stimmt nicht"}));
    EXPECT_EQ(quiz.questions[1].right, 2);
    EXPECT_EQ(quiz.questions[2].text, std::vector<std::string>{"Water boils at ___ degrees."});
    EXPECT_EQ(quiz.questions[2].right, 1);
}

TEST(QuizFileTest, BraceFormatRefusesOtherKindsByLine) {
    const QuizFile quiz = parseQuizFile(
        "Name a colour. {=red =blue}\n\n"
        "Match. {=cat -> Katze =dog -> Hund}\n\n"
        "How many? {#3:1}\n\n"
        "Write an essay. {}\n\n"
        "Just some words.\n\n"
        "Pick. {~%50%a ~%50%b ~c}\n\n"
        "Four. {=a ~b ~c ~d}\n\n"
        "Open. {=a ~b\n");
    EXPECT_EQ(problemsOf(quiz),
              "q.txt:1: a short-answer question (only = answers): give the wrong answers too, each "
              "after ~\n"
              "q.txt:3: a matching question (->): the game asks questions with two or three answers "
              "and one of them right\n"
              "q.txt:5: a numerical question ({#...}): give the numbers as answers, {=right ~wrong "
              "~wrong}\n"
              "q.txt:7: an essay question (empty braces): the game asks questions with two or three "
              "answers\n"
              "q.txt:9: a text without answers in { }: the game asks questions with two or three "
              "answers; leave descriptions out\n"
              "q.txt:11: an answer with part credit (~%50%): the game knows right and wrong: mark "
              "the one right answer with = and the others with ~\n"
              "q.txt:13: 4 answers: the game answers with the keys 1 to 3: give two or three\n"
              "q.txt:15: the answers' '{' is never closed: end them with }\n");
}

TEST(QuizLayoutTest, WrapsByCharactersNotBytes) {
    // 58 two-byte letters fill a question line exactly.
    std::string word;
    for (int i = 0; i < 29; ++i) word += "ßé";
    EXPECT_EQ(wrapText(word + " Ende", kQuestionColumns), (std::vector<std::string>{word, "Ende"}));
    EXPECT_EQ(wrapText("the quick brown fox", 9),
              (std::vector<std::string>{"the quick", "brown fox"}));
    EXPECT_EQ(wrapText("abcdefghijkl", 5), (std::vector<std::string>{"abcde", "fghij", "kl"}));
}

TEST(QuizLayoutTest, ScreensStayInTheViewOrSayWhatToShorten) {
    QuestionScreenInput input{"Question 1 of 1", {"Which?"}, {"one", "two", "three"}, "Press 1, 2 or 3.", 800, 600};
    QuestionScreen screen;
    std::string problem;
    ASSERT_TRUE(layoutQuestion(input, screen, problem)) << problem;
    ASSERT_TRUE(screen.picture);
    const ScreenPicture& picture = *screen.picture;
    const ScreenText& top = screen.texts[0];
    const ScreenText& bottom = screen.texts[1];
    EXPECT_GE(top.y, kViewTop);
    EXPECT_LE(top.y + static_cast<int>(top.lines.size()) * kLineHeight, picture.y);
    EXPECT_LE(picture.y + picture.height, bottom.y);
    EXPECT_LE(bottom.y + static_cast<int>(bottom.lines.size()) * kLineHeight, kViewBottom + 1);
    EXPECT_EQ(picture.height, kViewBottom + 1 - kViewTop - 8 * kLineHeight - 40);  // all the room left
    EXPECT_NEAR(static_cast<double>(picture.width) / picture.height, 800.0 / 600.0, 0.01);
    EXPECT_NEAR(picture.x + picture.width / 2, (kViewLeft + kViewRight) / 2, 1);

    input.text = {std::string(10 * kQuestionColumns, 'x')};  // 10 lines of question
    EXPECT_FALSE(layoutQuestion(input, screen, problem));
    EXPECT_EQ(problem, "the question's text leaves 11 pixels for its picture, which needs 60: "
                       "shorten the question or its answers by 3 lines, or leave the picture out");
    input.pictureWidth = 0;
    input.text = {std::string(15 * kQuestionColumns, 'x')};
    EXPECT_FALSE(layoutQuestion(input, screen, problem));
    EXPECT_EQ(problem, "the question takes 23 lines on the screen, which holds 19: shorten the "
                       "question or its answers by 4 lines (about 232 characters)");
}

}  // namespace
