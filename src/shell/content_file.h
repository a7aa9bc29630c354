#pragma once
// What the shell's content readers (questions, intro, ending) share: the
// problems they find, said as "file:line: reason", and the test that keeps a
// picture name read from content inside the game's Pics folder. Their number
// lines are read as every game file's are (readLineNumber, in
// geometry/model_lines.h).
//
// Nothing here touches the display, so the readers can be fuzzed alone.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "geometry/model_lines.h"  // readLineNumber, for every reader of these files

struct ContentProblem {
    std::string file;  // the game path, e.g. "Data\krv.qry"
    int line = 0;      // 1-based; 0 for the file as a whole
    std::string reason;

    // "file:line: reason", or "file: reason" without a line.
    std::string describe() const;
};

// Each problem on its own stderr line.
void reportProblems(std::span<const ContentProblem> problems);

// Lines skipped between entries: empty, or starting with ';'.
bool isBlankOrComment(std::string_view line);

// The folder every picture name of these files is looked up in.
inline constexpr std::string_view kPictureFolder = "Pics\\";

// A picture name may not leave Pics\: false, with the reason, for a name
// isContainedFileName refuses (an absolute name: leading '\' or '/', a drive
// letter; or one with a ".." part). The empty name passes.
bool isSafePictureName(std::string_view name, std::string& reason);
