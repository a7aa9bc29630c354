#pragma once
// The quiz file of `krvtool quiz`: a list of multiple-choice questions in one
// of the two plain-text formats learning platforms import and export (the
// letter format: question, "A)" answers, "ANSWER: X"; or the brace format:
// "::name:: text {=right ~wrong}"), with a few lines of our own:
//
//   quiz:      Title: / Intro: / Intro picture: / Ending: / Language: / Maze: /
//              Text question: / Text press 3: / Text press 2: /
//              Text first hint: / Text next hint: / Text next maze: /
//              Text true: / Text false: / Page KEY: (the browser page's words)
//   question:  Picture: / Hint: / Object: / Place:  (below the question they belong to)
//
// Text in, plain records and `line: reason` problems out: no disk, no game,
// so it runs under a fuzzer and in a browser.

#include <string>
#include <string_view>
#include <vector>

inline constexpr int kMaxQuizQuestions = 19;  // the game's question store
inline constexpr int kMaxQuizAnswers = 3;     // the keys 1 to 3
inline constexpr int kMaxQuizMazes = 3;       // the game's mazes

struct QuizProblem {
    int line = 0;
    std::string reason;

    std::string describe(std::string_view fileName) const;
};

// A value of one of our own lines, with where it was written.
struct QuizValue {
    std::string text;
    int line = 0;

    bool given() const { return line > 0; }
};

struct QuizQuestion {
    int line = 0;                      // of its first line
    std::vector<std::string> text;     // paragraphs, each wrapped on its own
    std::vector<std::string> answers;  // two or three, in key order
    int right = 0;                     // 1-based key of the right answer
    bool trueFalse = false;            // answered with the quiz's words for true and false
    QuizValue picture;                 // a file beside the quiz file
    QuizValue object;                  // a library model's name or a .shape file
    QuizValue place;                   // an object mark of the quiz's own maze
    std::vector<std::string> hint;     // paragraphs of the message
    int hintLine = 0;
};

enum class QuizFormat { Letters, Braces };

// Builder texts a quiz may say in its own language; {n}, {total} and
// {title} are filled in.
struct QuizWords {
    std::string question;   // "Question {n} of {total}"
    std::string press3;     // "Press 1, 2 or 3."
    std::string press2;     // "Press 1 or 2."
    std::string firstHint;  // message of the first object
    std::string nextHint;   // after a right answer, same maze
    std::string nextMaze;   // after a right answer, the next object in another maze
    std::string trueWord;   // the answers of a true/false question
    std::string falseWord;
    std::vector<std::string> ending;  // when the quiz gives none
};

// The defaults of a language ("en", "de", "fr"); false for one we lack.
bool quizWordsFor(std::string_view language, QuizWords& words);

struct QuizPageText {
    std::string key;  // one of kQuizPageKeys
    QuizValue value;
};

inline constexpr const char* kQuizPageKeys[] = {"start",   "ended", "result",    "continue",  "restart",
                                                "forward", "back",  "turn-left", "turn-right"};

struct QuizFile {
    QuizFormat format = QuizFormat::Letters;
    QuizValue title;
    QuizValue introPicture;
    std::vector<QuizValue> mazes;     // .maze sources taking the places of mazes 0, 1, 2
    std::vector<std::string> intro;   // paragraphs under the title
    std::vector<std::string> ending;  // lines ("" keeps a gap); empty: the words' ending
    int endingLine = 0;
    QuizWords words;                  // the language's, with the quiz's own texts over them
    std::vector<QuizPageText> page;   // only what the quiz gives
    std::vector<QuizQuestion> questions;
    std::vector<QuizProblem> problems;
};

QuizFile parseQuizFile(std::string_view text);

// "{n}" and the like replaced; placeholders not named stay as written.
std::string fillPlaceholders(std::string text, std::string_view name, std::string_view value);
