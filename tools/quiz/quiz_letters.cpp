// The letter format: a question's text (a line, or several), its answers one
// a line as "A) text" or "A. text", then "ANSWER: X". Blank lines between
// questions are optional.

#include <cctype>

#include "quiz/quiz_formats.h"

namespace {

// "A) text" or "A. text": the letter's 0-based place, or -1.
int answerLetter(std::string_view line, std::string& text) {
    if (line.size() < 2 || line[0] < 'A' || line[0] > 'Z' || (line[1] != ')' && line[1] != '.'))
        return -1;
    if (line.size() > 2 && line[2] != ' ' && line[2] != '\t') return -1;
    text = trimmed(line.substr(2));
    return line[0] - 'A';
}

bool isAnswerLine(std::string_view line) {
    return line.size() >= 7 && line.substr(0, 7) == "ANSWER:";
}

class LetterReader {
public:
    explicit LetterReader(QuizFile& quiz) : quiz_(quiz) {}

    void line(const QuizLine& line) {
        const std::string text = trimmed(line.text);
        if (text.empty()) return;
        std::string answerText;
        if (isAnswerLine(text)) {
            answer(line.number, trimmed(std::string_view(text).substr(7)));
        } else if (const int letter = answerLetter(text, answerText); letter >= 0 && open_) {
            option(line.number, letter, answerText);
        } else {
            if (open_ && !current_.answers.empty()) unfinished();
            if (!open_) {
                current_ = QuizQuestion{};
                current_.line = line.number;
                open_ = true;
            }
            if (!current_.answers.empty() || letter >= 0) {
                problem(line.number, "an answer line before any question text: write the "
                                     "question on the line above its answers");
            }
            current_.text.push_back(text);
        }
    }

    void end() {
        if (open_) unfinished();
    }

private:
    void option(int number, int letter, const std::string& text) {
        const int expected = static_cast<int>(current_.answers.size());
        if (letter != expected) {
            problem(number, std::string("answer ") + static_cast<char>('A' + letter) +
                                " where " + static_cast<char>('A' + expected) +
                                " comes next: letter the answers A, B, C in order");
            return;
        }
        if (expected == kMaxQuizAnswers) {
            problem(current_.line, "the question has 4 answers or more (line " +
                                       std::to_string(number) +
                                       "): the game answers with the keys 1 to 3: give two or "
                                       "three answers");
            return;
        }
        if (text.empty()) {
            problem(number, "answer " + std::string(1, static_cast<char>('A' + letter)) +
                                " is empty: write its text after the letter");
        }
        current_.answers.push_back(text);
    }

    void answer(int number, const std::string& letterText) {
        if (!open_) {
            problem(number, "ANSWER: without a question above it: write the question and its "
                            "answers first");
            return;
        }
        open_ = false;
        // Kept even when wrong, so the lines below it find their question.
        quiz_.questions.push_back(current_);
        const std::size_t count = current_.answers.size();
        if (count == 0) {
            problem(current_.line, "the question has no answers: write two or three below it, one "
                                   "a line, as A) ... B) ... C) ...");
            return;
        }
        if (count == 1) {
            problem(current_.line, "the question has one answer: give two or three");
            return;
        }
        const std::string letter = letterText.empty() ? "" : letterText.substr(0, 1);
        const char c = letter.empty() ? '\0' : static_cast<char>(std::toupper(letter[0]));
        if (c < 'A' || c >= static_cast<char>('A' + count) || trimmed(letterText).size() != 1) {
            const std::string last(1, static_cast<char>('A' + count - 1));
            problem(number, "ANSWER: '" + letterText + "' is not the letter of one of the answers: "
                            "write one of A to " + last);
            return;
        }
        quiz_.questions.back().right = c - 'A' + 1;
    }

    void unfinished() {
        problem(current_.line, "the question has no ANSWER: line: end it with ANSWER: and the "
                               "letter of the right answer");
        open_ = false;
        quiz_.questions.push_back(current_);
    }

    void problem(int line, std::string reason) {
        quiz_.problems.push_back({line, std::move(reason)});
    }

    QuizFile& quiz_;
    QuizQuestion current_;
    bool open_ = false;
};

}  // namespace

void parseLetterQuestions(const std::vector<QuizLine>& lines, QuizFile& quiz) {
    LetterReader reader(quiz);
    for (const QuizLine& line : lines) reader.line(line);
    reader.end();
}
