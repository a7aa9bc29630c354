#pragma once
// The text files of a game folder, read once for every check that holds
// them to something: the logic file (its messages are drawn), the question
// file and the ending's lines, each text with the line it stands on.

#include <optional>
#include <string>
#include <vector>

#include "logic/logic_file_parser.h"
#include "shell/question_file.h"

struct ContentTextLine {
    int line = 0;
    std::string text;
};

struct ContentTexts {
    std::optional<LogicFileContents> logic;  // Data\krv.lgk; none when it does not open
    std::vector<ContentTextLine> messages;  // its objects' message lines
    QuestionFileContent questions;          // Data\krv.qry
    std::vector<ContentTextLine> ending;    // Data\krv.end, every line
};

// From the data root; a file that does not open gives nothing.
ContentTexts readContentTexts();
