#pragma once
// Text that will not show whole, found before a student sees it, as
//   "file:line: warning: reason; what to do":
// question lines past the dark view's edges (right, or below into the
// message band), question pictures outside the view or over the question's
// text, message lines wider than the message band, ending lines wider than
// the screen. The measures are those of check/text_layout.h.

#include <string>
#include <vector>

struct ContentTexts;
struct QuestionRecord;

// All the warnings of the question, logic and ending files' texts.
std::vector<std::string> checkTextRoom(const ContentTexts& texts);

// The warnings for one question; each picture's size comes from
// pictureSize (false when it cannot be read: nothing is said of it here).
struct PictureSize {
    int width = 0;
    int height = 0;
};
using PictureSizer = bool (*)(const std::string& name, PictureSize& size);
std::vector<std::string> questionRoomWarnings(const QuestionRecord& question, PictureSizer pictureSize);

// The warning for one message or ending line, or empty.
std::string messageRoomWarning(int line, const std::string& text);
std::string endingRoomWarning(int line, const std::string& text);
