#pragma once
// Where the words and the picture of each screen go, in the game font's
// fixed cells: question screens inside the dark view, message lines for
// the band, ending lines for the centred scroll. Pure arithmetic, no disk.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/text_layout.h"
#include "logic/message_board.h"

// The room is check's (text_layout.h), so what the builder lays out check
// passes. The dark view a question is drawn over, both ends inclusive:
inline constexpr int kViewTop = kQuestionTop;
inline constexpr int kViewBottom = kQuestionBottom;

// Question lines start here, a column short of the view's right edge.
inline constexpr int kQuestionTextX = 40;
inline constexpr int kQuestionColumns = questionColumnsFrom(kQuestionTextX) - 1;  // 58
// Message lines fill the band; ending lines are centred on the screen.
inline constexpr int kHintColumns = kMessageColumns;      // 54
inline constexpr int kHintMaxLines = Message::kMaxLines;  // 19
inline constexpr int kEndingMaxLines = 100;

// Words kept whole (counted in characters as the game draws them: "ß" is
// one); a word longer than a line is cut.
std::vector<std::string> wrapText(std::string_view paragraph, int columns);

struct ScreenText {
    int x = 0;
    int y = 0;  // of the first line; each next one kLineHeight lower
    std::vector<std::string> lines;
};

struct ScreenPicture {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct QuestionScreen {
    std::vector<ScreenText> texts;         // in drawing order
    std::optional<ScreenPicture> picture;  // between the question and its answers
};

struct QuestionScreenInput {
    std::string header;                // "Question 3 of 7"
    std::vector<std::string> text;     // paragraphs
    std::vector<std::string> answers;  // 2 or 3
    std::string press;                 // "Press 1, 2 or 3."
    int pictureWidth = 0;              // 0: none
    int pictureHeight = 0;
};

// The screen, or why it cannot fit (what to shorten, by how much).
bool layoutQuestion(const QuestionScreenInput& input, QuestionScreen& screen, std::string& problem);
