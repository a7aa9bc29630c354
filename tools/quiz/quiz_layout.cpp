#include "quiz/quiz_layout.h"

#include <algorithm>
#include <cmath>

#include "framework/text_decode.h"

namespace {

// Space around a picture; shorter screens are centred, so the lines need no
// margin of their own to keep off the view's edge.
constexpr int kPictureGap = 10;
// A screen with a picture is full: it keeps this off the view's edges.
constexpr int kPictureScreenMargin = 10;
constexpr int kPictureMaxWidth = 600;
// A picture squeezed below this height says nothing: the text must give way.
constexpr int kPictureMinHeight = 60;
// Small pictures are enlarged to fill their space, but no more than this.
constexpr double kPictureMaxEnlarge = 2.0;

constexpr int kUsableTop = kViewTop;
constexpr int kUsableBottom = kViewBottom + 1;  // the last line ends here
constexpr int kMaxLines = (kUsableBottom - kUsableTop) / kLineHeight;

// The prefix of `text` holding `columns` characters.
std::size_t bytesOf(std::string_view text, int columns) {
    std::size_t at = 0;
    char32_t codePoint = 0;
    for (int i = 0; i < columns && at < text.size(); ++i) {
        const std::size_t before = at;
        if (readUtf8Character(text, at, codePoint) != Utf8Read::Complete) at = before + 1;
    }
    return at;
}

std::vector<std::string> answerLines(const std::vector<std::string>& answers) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const std::string prefix = std::to_string(i + 1) + ": ";
        const std::vector<std::string> wrapped = wrapText(answers[i], kQuestionColumns - 3);
        for (std::size_t k = 0; k < wrapped.size(); ++k) {
            lines.push_back((k == 0 ? prefix : std::string(prefix.size(), ' ')) + wrapped[k]);
        }
    }
    return lines;
}

std::string linesWord(int count) { return std::to_string(count) + (count == 1 ? " line" : " lines"); }

}  // namespace

std::vector<std::string> wrapText(std::string_view paragraph, int columns) {
    std::vector<std::string> lines;
    std::string line;
    int lineCount = 0;
    std::size_t at = 0;
    while (at < paragraph.size()) {
        while (at < paragraph.size() && paragraph[at] == ' ') ++at;
        if (at >= paragraph.size()) break;
        std::size_t end = paragraph.find(' ', at);
        if (end == std::string_view::npos) end = paragraph.size();
        std::string_view word = paragraph.substr(at, end - at);
        at = end;
        int wordCount = static_cast<int>(characterCount(word));
        if (lineCount > 0 && lineCount + 1 + wordCount <= columns) {
            line += ' ';
            line += word;
            lineCount += 1 + wordCount;
            continue;
        }
        if (lineCount > 0) lines.push_back(std::move(line));
        line.clear();
        lineCount = 0;
        while (wordCount > columns) {  // a word longer than a line is cut
            const std::size_t cut = bytesOf(word, columns);
            lines.emplace_back(word.substr(0, cut));
            word.remove_prefix(cut);
            wordCount -= columns;
        }
        line = std::string(word);
        lineCount = wordCount;
    }
    if (lineCount > 0) lines.push_back(std::move(line));
    return lines;
}

bool layoutQuestion(const QuestionScreenInput& input, QuestionScreen& screen, std::string& problem) {
    std::vector<std::string> top{input.header, ""};
    for (const std::string& paragraph : input.text) {
        for (std::string& line : wrapText(paragraph, kQuestionColumns)) top.push_back(std::move(line));
    }
    std::vector<std::string> bottom = answerLines(input.answers);
    bottom.push_back("");
    bottom.push_back(input.press);
    screen = QuestionScreen{};

    const bool picture = input.pictureWidth > 0 && input.pictureHeight > 0;
    if (!picture) {
        top.push_back("");
        const int count = static_cast<int>(top.size() + bottom.size());
        if (count > kMaxLines) {
            const int over = count - kMaxLines;
            problem = "the question takes " + linesWord(count) + " on the screen, which holds " +
                      std::to_string(kMaxLines) + ": shorten the question or its answers by " +
                      linesWord(over) + " (about " + std::to_string(over * kQuestionColumns) +
                      " characters)";
            return false;
        }
        for (std::string& line : bottom) top.push_back(std::move(line));
        const int height = count * kLineHeight;
        const int y = kUsableTop + (kUsableBottom - kUsableTop - height) / 2;
        screen.texts.push_back({kQuestionTextX, y, std::move(top)});
        return true;
    }

    const int textHeight = static_cast<int>(top.size() + bottom.size()) * kLineHeight;
    const int top0 = kUsableTop + kPictureScreenMargin;
    const int bottom0 = kUsableBottom - kPictureScreenMargin;
    const int space = bottom0 - top0 - textHeight - 2 * kPictureGap;
    if (space < kPictureMinHeight) {
        const int over = (kPictureMinHeight - space + kLineHeight - 1) / kLineHeight;
        problem = "the question's text leaves " + std::to_string(std::max(space, 0)) +
                  " pixels for its picture, which needs " + std::to_string(kPictureMinHeight) +
                  ": shorten the question or its answers by " + linesWord(over) +
                  ", or leave the picture out";
        return false;
    }
    const double scale = std::min({static_cast<double>(kPictureMaxWidth) / input.pictureWidth,
                                   static_cast<double>(space) / input.pictureHeight,
                                   kPictureMaxEnlarge});
    ScreenPicture shown;
    shown.width = std::max(1, static_cast<int>(std::floor(input.pictureWidth * scale)));
    shown.height = std::max(1, static_cast<int>(std::floor(input.pictureHeight * scale)));
    shown.x = kViewLeft + (kViewRight + 1 - kViewLeft - shown.width) / 2;
    const int total = textHeight + 2 * kPictureGap + shown.height;
    const int y = top0 + (bottom0 - top0 - total) / 2;
    const int topHeight = static_cast<int>(top.size()) * kLineHeight;
    shown.y = y + topHeight + kPictureGap;
    const int bottomY = shown.y + shown.height + kPictureGap;
    screen.texts.push_back({kQuestionTextX, y, std::move(top)});
    screen.texts.push_back({kQuestionTextX, bottomY, std::move(bottom)});
    screen.picture = shown;
    return true;
}
