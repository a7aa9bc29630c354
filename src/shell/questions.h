#pragma once
// The questions: read from Data\krv.qry into the store, drawn when the
// player reaches the sought object, answered with the keys 1 to 3.
//
//   question_file.h  the file format, read into plain records
//   questions.h      the store: loading (pictures, fatal errors), drawing,
//                    answering, moving on

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/owned_bitmap.h"
#include "shell/question_file.h"

struct DrawContext;

struct Question {
    static constexpr int kCapacity = kQuestionLines;
    static_assert(kQuestionPictures == kCapacity);

    std::array<std::string, kCapacity> textLines;
    std::array<OwnedBitmap, kCapacity> pictures;
    std::array<std::int32_t, kCapacity> textX{};
    std::array<std::int32_t, kCapacity> textY{};
    std::array<std::int32_t, kCapacity> pictureX{};
    std::array<std::int32_t, kCapacity> pictureY{};
    std::int32_t textCount = 0;
    std::int32_t pictureCount = 0;
    std::int32_t correctAnswer = 0;  // 0 until a TEXT block sets it: nothing is right

    // Ignored once the question has 20 lines.
    void addTextLine(std::int32_t x, std::int32_t y, std::string_view text);
    // Ignored once the question has 20 pictures; otherwise loads Pics\ + name
    // and ends the program with "Can't find all Bitmaps!" when it is missing,
    // unreadable or outside Pics (`where`: the file and line that named it).
    void addPicture(std::int32_t x, std::int32_t y, std::string_view name,
                    const ContentProblem& where = {});
    void setCorrectAnswer(std::int32_t number) { correctAnswer = number; }
    // Frees the lines and releases the pictures.
    void clear();
    // Text lines first, pictures over them.
    void draw(DrawContext* context) const;
};

class QuestionStore {
public:
    static constexpr int kCapacity = 20;

    // Empties the store and reads the question file again; the current
    // question is kept. Ends the program for a file that does not begin with
    // "Q", a 20th question or a missing picture; a missing file leaves the
    // store empty, a file that ends inside an entry keeps what was read.
    void loadQuestions();
    // Draws the current question's text lines, then its pictures, on the
    // current page; nothing when there is no current question.
    void drawCurrentQuestion(DrawContext* context) const;
    bool isRightAnswer(int answer) const;
    // The next question, wrapping to the first after the last.
    void nextQuestion();

    // The records' questions into the store, pictures loaded (what
    // loadQuestions does after reading the file).
    void fill(const QuestionFileContent& content);
    void clear();
    const Question* currentQuestion() const;

    std::array<Question, kCapacity> questions;
    std::int32_t questionCount = 0;
    std::int32_t current = 0;
};
