#pragma once
// The texts the game draws from content, read once for every check that
// holds them to something: the logic file's messages, the question file and
// the ending's lines, each with the line it stands on.

#include <string>
#include <vector>

#include "shell/question_file.h"

struct ContentTextLine {
    int line = 0;
    std::string text;
};

struct ContentTexts {
    std::vector<ContentTextLine> messages;  // Data\krv.lgk, the objects' message lines
    QuestionFileContent questions;          // Data\krv.qry
    std::vector<ContentTextLine> ending;    // Data\krv.end, every line
};

// From the data root; a file that does not open gives nothing.
ContentTexts readContentTexts();
