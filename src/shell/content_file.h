#pragma once
// What the shell's content readers (questions, intro, ending) share: the
// problems they find, said as "file:line: reason"; numbers read the way
// every number line of these files is read; and the test that keeps a
// picture name read from content inside the game's Pics folder.
//
// Nothing here touches the display, so the readers can be fuzzed alone.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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

// A decimal integer from the start of a line: leading blanks and a sign are
// taken, the rest of the line is ignored, no number reads as 0. Beyond the
// 32-bit range the value is clamped.
std::int32_t readLineNumber(std::string_view line);

// The folder every picture name of these files is looked up in.
inline constexpr std::string_view kPictureFolder = "Pics\\";

// A picture name may not leave Pics\: false, with the reason, for an absolute
// name (leading '\' or '/', a drive letter) or one with a ".." part.
bool isSafePictureName(std::string_view name, std::string& reason);
