#pragma once
// The question file, Data\krv.qry, read into plain records. Lines are
// compared whole and exactly; between entries empty and ';' lines are
// skipped:
//
//   Q        starts the next question (at most 19: a 20th ends the program)
//   TEXT     x, y, then text lines up to a line starting with '#' (empty and
//            ';' lines included, each 20 pixels below the one before), then
//            the line with the number of the right answer
//   BITMAP   a picture file in Pics\, then x, then y
//
// Any other line is ignored. Loading the pictures and ending the program
// are the store's business (questions.h); this reader only records.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shell/content_file.h"

class TextFile;

inline constexpr std::string_view kQuestionFilePath = "Data\\krv.qry";
inline constexpr int kMaxQuestions = 19;
// Per question; further text lines and pictures are dropped.
inline constexpr int kQuestionLines = 20;
inline constexpr int kQuestionPictures = 20;
inline constexpr int kQuestionLineSpacing = 20;

struct QuestionTextLine {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::string text;
    int line = 0;  // of the text, for messages
};

struct QuestionPictureLine {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::string name;  // as read, without the Pics\ folder
    int line = 0;      // of the name, for messages
};

struct QuestionRecord {
    std::vector<QuestionTextLine> textLines;    // at most kQuestionLines
    std::vector<QuestionPictureLine> pictures;  // at most kQuestionPictures
    std::int32_t correctAnswer = 0;             // the last complete TEXT block's
    int line = 0;                               // of its "Q"
    int answerLine = 0;                         // 0: no TEXT block gave an answer
    bool textLinesDropped = false;
    bool picturesDropped = false;
};

// Why reading stopped early; the game ends with the message.
enum class QuestionFileStop { None, NoLeadingQ, NoSpace };
const char* stopMessage(QuestionFileStop stop);

struct QuestionFileContent {
    bool opened = false;
    std::vector<QuestionRecord> questions;  // at most kMaxQuestions
    QuestionFileStop stop = QuestionFileStop::None;
    // Everything an author should hear of, the stop included. A file that
    // ends inside an entry keeps what was read of it before the end.
    std::vector<ContentProblem> problems;
};

// Reads an opened file to its end (or to the stop); `name` is for messages.
// An unopened file gives no questions and says so.
QuestionFileContent parseQuestionFile(TextFile& file, std::string_view name);
// Opens the game path and reads it.
QuestionFileContent readQuestionFile(std::string_view gamePath = kQuestionFilePath);
