#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "framework/files.h"

namespace {

struct Line {
    std::string text;
    bool ended = false;

    bool operator==(const Line&) const = default;
};

void PrintTo(const Line& line, std::ostream* out) {
    *out << line.text.size() << " characters";
    if (line.text.size() < 20) *out << " \"" << line.text << '"';
    *out << (line.ended ? ", ended" : ", not ended");
}

// Every line of `bytes` as TextFile reads it.
std::vector<Line> readAll(const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("krv_text_file_test_" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << bytes;
    TextFile file;
    EXPECT_TRUE(file.openNative(path.string()));
    std::vector<Line> lines;
    std::string line;
    while (file.readLine(line)) lines.push_back({line, file.lastLineEnded()});
    file.close();
    std::filesystem::remove(path);
    return lines;
}

}  // namespace

// Text mode: CR LF is one line end before any length is counted, so a line
// written on another system holds the same 999 characters.
TEST(TextFile, CrLfIsOneLineEndAndNeverCountsTowardTheLimit) {
    const std::string longest(998, 'x');
    const std::string tooLong(999, 'y');
    const auto lines =
        readAll("abc\r\n" + longest + "\r\n\r\n" + tooLong + "\r\nlone\rcr\r\r\nend\r");
    const std::vector<Line> expected = {
        {"abc", true},        {longest, true}, {"", true},
        {tooLong, false},     {"", true},  // a full line; its line end stands alone
        {"lone\rcr\r", true},              // a CR not before LF is a character
        {"end\r", false},
    };
    EXPECT_EQ(lines, expected);
}

TEST(TextFile, LinesBeyondTheLimitAreCutLikeLineFeedFiles) {
    const std::string twoLines = std::string(999, 'a') + "bc\n";
    const std::vector<Line> expected = {{std::string(999, 'a'), false}, {"bc", true}};
    EXPECT_EQ(readAll(twoLines), expected);
    std::string crlf = twoLines;
    crlf.insert(crlf.size() - 1, "\r");
    EXPECT_EQ(readAll(crlf), expected);
}
