#pragma once
// The ending file, Data\krv.end: every non-empty line is a line of the
// ending, in order; nothing is a comment.

#include <string>
#include <string_view>
#include <vector>

class TextFile;

inline constexpr std::string_view kEndingFilePath = "Data\\krv.end";

struct EndingFileContent {
    bool opened = false;
    std::vector<std::string> lines;  // all of them, however many
};

// Reads an opened file to its end; an unopened one gives no lines.
EndingFileContent parseEndingFile(TextFile& file);
EndingFileContent readEndingFile(std::string_view gamePath = kEndingFilePath);
