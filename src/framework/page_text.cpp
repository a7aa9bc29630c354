#include "framework/page_text.h"

#include <algorithm>
#include <cstdio>

const std::array<PageWordInfo, kPageWordCount> kPageWords = {{
    {"title", ""},
    {"start", "Press RETURN or click to enter the maze"},
    {"start-note", "ESC during the intro will start the game"},
    {"ended", "The game has ended."},
    {"result", "{right} of {total} questions answered right at the first try, in {time}."},
    {"continue", "Continue"},
    {"restart", "Play again"},
    {"forward", "Forward"},
    {"back", "Back"},
    {"turn-left", "Turn left"},
    {"turn-right", "Turn right"},
    {"skip", "Skip intro"},
    {"hint", "Show hint"},
    {"full-screen", "Full screen"},
}};

namespace {

constexpr std::string_view kPictureKey = "picture";

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The start screen's picture is a file of Pics\ and nothing else: a name read
// from content never reaches outside the game folder.
bool isPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string_view::npos;
}

void readLine(std::string_view line, int number, PageTextContents& contents) {
    const std::string_view content = trimmed(line);
    if (content.empty() || content.front() == ';') return;
    const std::size_t colon = content.find(':');
    if (colon == std::string_view::npos) {
        contents.problems.push_back(
            {number, "\"" + std::string(content) +
                         "\" is no \"key: text\" line; write the key, a colon and the text, "
                         "or start the line with ; to keep it as a note"});
        return;
    }
    const std::string key = lowerCase(trimmed(content.substr(0, colon)));
    const std::string_view text = trimmed(content.substr(colon + 1));
    if (text.empty()) return;  // the default stays
    if (key == kPictureKey) {
        if (isPlainFileName(text)) {
            contents.text.picture = text;
        } else {
            contents.problems.push_back(
                {number,
                 "picture: \"" + std::string(text) +
                     "\" must be the name of a file in Pics/ (like title.bmp), not a path"});
        }
        return;
    }
    const auto known = std::find_if(kPageWords.begin(), kPageWords.end(),
                                    [&](const PageWordInfo& info) { return info.key == key; });
    if (known != kPageWords.end()) {
        contents.text.words[static_cast<std::size_t>(known - kPageWords.begin())] = text;
    }
}

}  // namespace

PageText::PageText() {
    for (std::size_t i = 0; i < kPageWordCount; ++i) words[i] = kPageWords[i].defaultText;
}

PageTextContents parsePageText(TextFile& file) {
    PageTextContents contents;
    std::string line;
    while (file.readLine(line)) readLine(line, file.lineNumber(), contents);
    return contents;
}

PageText loadPageText(std::string_view gamePath) {
    TextFile file;
    if (!file.open(gamePath)) return PageText{};
    PageTextContents contents = parsePageText(file);
    for (const PageTextProblem& problem : contents.problems) {
        std::fprintf(stderr, "%s:%d: %s\n", file.path().c_str(), problem.line,
                     problem.reason.c_str());
    }
    return std::move(contents.text);
}
