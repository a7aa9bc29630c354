#pragma once
// What the maze and object sources share: lines split into words that know
// their column, and errors that name file, line and column.

#include <string>
#include <vector>

struct SourceWord {
    std::string text;
    int column = 0;  // 1-based
};

// Words separated by blanks or tabs; ';' starts a comment. With quotes on,
// "quoted text" is one word (without its quotes).
std::vector<SourceWord> splitSourceWords(const std::string& line, bool quotes);

// Keeps the first error of a parse as "file:line:column: message".
class SourceErrors {
public:
    explicit SourceErrors(std::string fileName) : file_(std::move(fileName)) {}

    std::string error;

    // Records the error (unless one is already recorded) and returns false.
    bool fail(int line, int column, const std::string& message);
    // Reads a whole word as a decimal number (a leading '+' allowed).
    bool number(const SourceWord& word, int line, double& out);

    const std::string& fileName() const { return file_; }

private:
    std::string file_;
};
