#pragma once
// The page's own words: what a browser page around the game says in the
// quiz's language (the start screen's lines, the end message, the result,
// the names of the on-screen controls), read from the quiz folder's
// Data\page.txt (format: docs/page-text.md). Every word has an English
// default, so a folder without the file, or a file naming only some words,
// still gives a whole page. Nothing here needs a browser: `krvtool web` and
// `krvtool scorm` read the same file for the quiz's title and its problems.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framework/files.h"

inline constexpr const char* kPageTextPath = "Data\\page.txt";

enum class PageWord {
    Title,      // the quiz's title: the page's and the package's; none by default
    Start,      // the start screen's first line
    StartNote,  // its second line
    Ended,      // shown when the game has ended
    Result,     // after a won game: {right}, {total}, {time}
    Continue,   // the button that continues saved progress
    Restart,    // the button that starts the quiz again
    Forward,    // the on-screen controls, by what they do
    Back,
    TurnLeft,
    TurnRight,
    Skip,  // Esc during the intro
    Hint,  // Space: the sought object's message again
    FullScreen,
    Count
};

inline constexpr std::size_t kPageWordCount = static_cast<std::size_t>(PageWord::Count);

struct PageWordInfo {
    std::string_view key;  // as written in the file, lower case
    std::string_view defaultText;
};

// In PageWord order.
extern const std::array<PageWordInfo, kPageWordCount> kPageWords;

struct PageText {
    std::array<std::string, kPageWordCount> words;
    // A file in Pics\ for the start screen; empty: the game's title picture.
    std::string picture;

    PageText();
    const std::string& word(PageWord which) const { return words[static_cast<std::size_t>(which)]; }
};

struct PageTextProblem {
    int line = 0;
    std::string reason;  // says what to write instead
};

struct PageTextContents {
    PageText text;
    std::vector<PageTextProblem> problems;  // none is fatal: the line is skipped
};

// Reads the whole file: `key: text` lines, ';' comment lines and empty lines;
// unknown keys are skipped without a word (a newer page's words in an older
// game), empty texts keep the default.
PageTextContents parsePageText(TextFile& file);

// The quiz's page text from its game path; a missing file gives the defaults.
// Problems are printed as "file:line: reason" on stderr.
PageText loadPageText(std::string_view gamePath = kPageTextPath);
