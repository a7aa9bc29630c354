#pragma once
// The four data files and the page's words of a built quiz, as text: the
// logic file (the mazes' start points, passages and sound zones as they
// were, then one object per question where the placement put it), the
// question file (each screen as laid out), the intro (the title screen for
// the length of the music) and the ending.

#include <span>
#include <string>
#include <vector>

#include "logic/logic_file_parser.h"
#include "quiz/quiz_file.h"
#include "quiz/quiz_layout.h"
#include "quiz/quiz_placement.h"

struct PlannedQuestion {
    QuestionScreen screen;
    int right = 0;
    std::string picture;               // in Pics\, when the screen has one
    std::string objectName;            // the logic file's name: models are shared by it
    std::string objectFile;            // in the Objects folder

    std::vector<std::string> message;  // wrapped
    PlacedObject place;
};

std::string logicFileText(const std::string& title, const LogicFileContents& base,
                          std::span<const PlannedQuestion> questions);
std::string questionFileText(const std::string& title, std::span<const PlannedQuestion> questions);
std::string introFileText(const std::string& picture, int milliseconds);
// Lines wrapped to the screen; a gap is a line of one blank (the game skips
// empty ones).
std::string endingFileText(const std::vector<std::string>& lines);
std::vector<std::string> endingLines(const QuizFile& quiz, const std::string& title);
// "key: text" lines: the title always, the rest only as the quiz gives them.
std::string pageFileText(const std::string& title, std::span<const QuizPageText> page);

// The message of question `index` (0-based): the quiz's hint, else the
// words' default for the first object, the next one or one in a new maze.
std::vector<std::string> messageLines(const QuizFile& quiz, std::size_t index, bool newMaze);
