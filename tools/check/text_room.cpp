#include "check/text_room.h"

#include <algorithm>

#include "check/content_texts.h"
#include "check/text_layout.h"
#include "framework/owned_bitmap.h"
#include "logic/logic_file.h"
#include "shell/content_file.h"
#include "shell/ending_file.h"
#include "shell/question_file.h"

namespace {

// A rectangle of pixels, both ends inclusive.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool overlaps(const PixelBox& o) const {
        return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
    }
};

constexpr PixelBox kView{kQuestionLeft, kQuestionTop, kQuestionRight, kQuestionBottom};

std::string at(std::string_view file, int line) {
    return std::string(file) + ":" + std::to_string(line) + ": warning: ";
}

std::string span(int low, int high) { return std::to_string(low) + " to " + std::to_string(high); }

// The pixels a question line inks, or none for a line of blanks.
bool inkBox(const QuestionTextLine& line, PixelBox& box) {
    const InkColumns ink = inkColumns(line.text);
    if (ink.first == ink.end) return false;
    box = {line.x + ink.first * kGlyphWidth, line.y, line.x + ink.end * kGlyphWidth - 1,
           line.y + kLineHeight - 1};
    return true;
}

std::string textLineWarning(const QuestionTextLine& line, const PixelBox& ink) {
    const std::string where = at(kQuestionFilePath, line.line);
    if (ink.right > kQuestionRight) {
        return where + "this question line runs to x " + std::to_string(ink.right) +
               ", past the right edge of the view at " + std::to_string(kQuestionRight) + ": a line from x " +
               std::to_string(line.x) + " holds " + std::to_string(questionColumnsFrom(line.x)) +
               " characters; break it into two lines or start its TEXT block further left";
    }
    if (ink.bottom > kQuestionBottom) {
        return where + "this question line (y " + span(ink.top, ink.bottom) +
               ") runs below the question's space, which ends at y " + std::to_string(kQuestionBottom) +
               ", into the message band; start its TEXT block higher or use fewer lines (the last line "
               "may start at y " + std::to_string(kLastQuestionLineY) + ")";
    }
    if (ink.left < kQuestionLeft || ink.top < kQuestionTop) {
        return where + "this question line at x " + std::to_string(ink.left) + ", y " + std::to_string(ink.top) +
               " starts outside the view, which begins at x " + std::to_string(kQuestionLeft) + ", y " +
               std::to_string(kQuestionTop) + "; give its TEXT block an x and y of at least that";
    }
    return {};
}

std::string pictureWarning(const QuestionPictureLine& picture, const PictureSize& size,
                           const std::vector<QuestionTextLine>& lines) {
    const PixelBox box{picture.x, picture.y, picture.x + size.width - 1, picture.y + size.height - 1};
    const std::string where = at(kQuestionFilePath, picture.line);
    const std::string what = "the picture " + picture.name + " (" + std::to_string(size.width) + " by " +
                             std::to_string(size.height) + ", x " + span(box.left, box.right) + ", y " +
                             span(box.top, box.bottom) + ")";
    if (box.left < kView.left || box.top < kView.top || box.right > kView.right || box.bottom > kView.bottom) {
        const bool offScreen = box.left < 0 || box.top < 0 || box.right >= kScreenWidth || box.bottom >= kScreenHeight;
        return where + what + (offScreen ? " runs off the screen" : " reaches over the border") +
               "; a question's pictures stay inside the dark view, x " + span(kView.left, kView.right) + ", y " +
               span(kView.top, kView.bottom) + ": place it at x " + span(kView.left, kView.right + 1 - size.width) +
               " and y " + span(kView.top, kView.bottom + 1 - size.height) +
               (size.width > kView.right + 1 - kView.left || size.height > kView.bottom + 1 - kView.top
                    ? ", after making it smaller with krvtool picture"
                    : "");
    }
    for (const QuestionTextLine& line : lines) {
        PixelBox ink;
        if (!inkBox(line, ink) || !ink.overlaps(box)) continue;
        return where + what + " covers the question line at line " + std::to_string(line.line) +
               " (y " + span(ink.top, ink.bottom) +
               "): pictures are drawn over the text, so move the picture or the TEXT block apart";
    }
    return {};
}

bool gamePictureSize(const std::string& name, PictureSize& size) {
    std::string reason;
    if (!isSafePictureName(name, reason)) return false;
    const std::string path = std::string(kPictureFolder) + name;
    const OwnedBitmap picture(gfx_bitmap_info(path) ? gfx_load_bitmap(path, 0) : nullptr);
    if (!picture) return false;
    size = {picture->width, picture->height};
    return true;
}

}  // namespace

std::vector<std::string> questionRoomWarnings(const QuestionRecord& question, PictureSizer pictureSize) {
    std::vector<std::string> warnings;
    for (const QuestionTextLine& line : question.textLines) {
        PixelBox ink;
        if (inkBox(line, ink)) warnings.push_back(textLineWarning(line, ink));
    }
    for (const QuestionPictureLine& picture : question.pictures) {
        PictureSize size;
        if (pictureSize(picture.name, size)) warnings.push_back(pictureWarning(picture, size, question.textLines));
    }
    std::erase(warnings, std::string());
    return warnings;
}

std::string messageRoomWarning(int line, const std::string& text) {
    const int columns = inkColumns(text).end;
    if (columns <= kMessageColumns) return {};
    return at(kLogicFile, line) + "this message line has " + std::to_string(columns) +
           " characters, but the message band shows " + std::to_string(kMessageColumns) + " (x " +
           span(kMessageLeft, kMessageRight) + "); the rest is cut off: break it into two lines";
}

std::string endingRoomWarning(int line, const std::string& text) {
    // Centred by its whole width, blanks included.
    const int columns = textColumns(text);
    if (columns <= kEndingColumns) return {};
    return at(kEndingFilePath, line) + "this ending line has " + std::to_string(columns) +
           " characters, but the screen shows " + std::to_string(kEndingColumns) +
           "; it is centred, so both ends are cut off: break it into two lines";
}

std::vector<std::string> checkTextRoom(const ContentTexts& texts) {
    std::vector<std::string> warnings;
    for (const QuestionRecord& question : texts.questions.questions) {
        for (std::string& warning : questionRoomWarnings(question, gamePictureSize)) {
            warnings.push_back(std::move(warning));
        }
    }
    for (const ContentTextLine& line : texts.messages) warnings.push_back(messageRoomWarning(line.line, line.text));
    for (const ContentTextLine& line : texts.ending) warnings.push_back(endingRoomWarning(line.line, line.text));
    std::erase(warnings, std::string());
    return warnings;
}
