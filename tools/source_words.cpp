#include "source_words.h"

#include <charconv>

std::vector<SourceWord> splitSourceWords(const std::string& line, bool quotes) {
    std::vector<SourceWord> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size() || line[i] == ';') break;
        SourceWord word;
        word.column = static_cast<int>(i) + 1;
        if (quotes && line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string::npos ? line.size() : close;
            word.text = line.substr(i + 1, end - i - 1);
            i = close == std::string::npos ? line.size() : close + 1;
        } else {
            const std::size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
            word.text = line.substr(start, i - start);
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool SourceErrors::fail(int line, int column, const std::string& message) {
    if (error.empty()) {
        error = file_ + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
    }
    return false;
}

bool SourceErrors::number(const SourceWord& word, int line, double& out) {
    const char* begin = word.text.data();
    const char* end = begin + word.text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto result = std::from_chars(begin, end, out);
    if (result.ec != std::errc() || result.ptr != end) {
        return fail(line, word.column, "'" + word.text + "' is not a number");
    }
    return true;
}
