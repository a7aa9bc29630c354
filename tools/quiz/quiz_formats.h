#pragma once
// Inside the quiz file reader: the two question formats, each reading the
// lines that are not our own (those are blanked, keeping the numbering).

#include <string>
#include <vector>

#include "quiz/quiz_file.h"

struct QuizLine {
    int number = 0;
    std::string text;  // UTF-8, no line end
};

void parseLetterQuestions(const std::vector<QuizLine>& lines, QuizFile& quiz);
void parseBraceQuestions(const std::vector<QuizLine>& lines, QuizFile& quiz);

// Whether the lines use the brace format: an unescaped '{' or a "::name::"
// and no "ANSWER:" line.
bool looksLikeBraceFormat(const std::vector<QuizLine>& lines);

std::string trimmed(std::string_view text);
