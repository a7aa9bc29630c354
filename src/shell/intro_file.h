#pragma once
// The intro file, Data\krv.int, read into plain records. Between entries
// empty and ';' lines are skipped; an entry is four lines taken as they
// come:
//
//   picture   a file in Pics\, or a line starting with '-' for no picture
//   x, y      where the picture's top-left corner goes
//   time      milliseconds after the intro's start at which the entry gives
//             way; 0 draws it under the entries that follow it
//
// Loading the pictures is the intro's business (intro.h).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shell/content_file.h"

class TextFile;

inline constexpr std::string_view kIntroFilePath = "Data\\krv.int";

struct IntroRecord {
    std::string name;  // the picture line as read
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t time = 0;
    int line = 0;  // of the picture line

    bool hasPicture() const { return name.empty() || name.front() != '-'; }
};

struct IntroFileContent {
    bool opened = false;
    std::vector<IntroRecord> entries;
    // An entry cut short by the end of the file is left out and said here.
    std::vector<ContentProblem> problems;
};

// Reads an opened file to its end; an unopened one gives no entries.
IntroFileContent parseIntroFile(TextFile& file, std::string_view name);
IntroFileContent readIntroFile(std::string_view gamePath = kIntroFilePath);

// For each entry, the entry whose picture it draws: the first with the same
// name, itself when none comes before it. Entries share pictures by name.
std::vector<std::size_t> pictureOwners(const std::vector<IntroRecord>& entries);
