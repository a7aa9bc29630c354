// Quiz text that will not show whole is found by check, measured in
// characters as the game draws them, never in bytes.

#include <gtest/gtest.h>

#include <string>

#include "check/text_layout.h"
#include "check/text_room.h"
#include "shell/question_file.h"

namespace {

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// Every picture is 200 by 100.
bool pictureOf200By100(const std::string&, PictureSize& size) {
    size = {200, 100};
    return true;
}

QuestionTextLine textLine(int x, int y, std::string text, int line) { return {x, y, std::move(text), line}; }

TEST(TextLayout, MeasuresAreTheGames) {
    EXPECT_EQ(kQuestionLeft, 10);
    EXPECT_EQ(kQuestionRight, 629);
    EXPECT_EQ(kQuestionBottom, 400);
    EXPECT_EQ(kMessageColumns, 54);
    EXPECT_EQ(kEndingColumns, 64);
    EXPECT_EQ(questionColumnsFrom(40), 59);
    EXPECT_EQ(textColumns("Größe"), 5);
    EXPECT_EQ(textColumns("Gr\xF6\xDF" "e"), 5);  // Latin-1: a character a byte
    const InkColumns ink = inkColumns("  1: East   ");
    EXPECT_EQ(ink.first, 2);
    EXPECT_EQ(ink.end, 9);
}

TEST(TextRoom, QuestionLinesPastTheRightEdgeOrBelowTheViewWarn) {
    QuestionRecord question;
    question.textLines = {
        textLine(40, 20, repeated("a", 59) + "   ", 5),  // ends at 629; blanks after it show nothing
        textLine(40, 40, repeated("ä", 59), 6),          // 118 bytes, 59 characters
        textLine(40, 60, repeated("a", 60), 7),          // one too many
        textLine(40, 381, "3: South", 8),                // the last line that fits
        textLine(40, 382, "Press 1, 2 or 3.", 9),
        textLine(40, 500, "   ", 10),                    // blanks alone show nothing
    };
    const std::vector<std::string> warnings = questionRoomWarnings(question, pictureOf200By100);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0],
              "Data\\krv.qry:7: warning: this question line runs to x 639, past the right edge of the view at "
              "629: a line from x 40 holds 59 characters; break it into two lines or start its TEXT block "
              "further left");
    EXPECT_EQ(warnings[1].rfind("Data\\krv.qry:9: warning: this question line (y 382 to 401) runs below the "
                                "question's space, which ends at y 400, into the message band",
                                0),
              0u)
        << warnings[1];
}

TEST(TextRoom, PicturesOutsideTheViewOrOverTheTextWarn) {
    QuestionRecord question;
    question.textLines = {textLine(40, 20, "Which way?", 5), textLine(40, 340, "1: East", 12)};
    question.pictures = {{220, 60, "fits.bmp", 8},     // y 60 to 159, clear of both lines
                         {220, 301, "low.bmp", 14},    // y 301 to 400, right of "1: East"
                         {40, 250, "text.bmp", 16},    // y 250 to 349, over "1: East"
                         {500, 300, "right.bmp", 18},  // x 500 to 699: off the screen
                         {430, 301, "border.bmp", 20}};  // x 430 to 629, y 301 to 400: fits exactly
    const std::vector<std::string> warnings = questionRoomWarnings(question, pictureOf200By100);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0],
              "Data\\krv.qry:16: warning: the picture text.bmp (200 by 100, x 40 to 239, y 250 to 349) covers the "
              "question line at line 12 (y 340 to 359): pictures are drawn over the text, so move the picture "
              "or the TEXT block apart");
    EXPECT_EQ(warnings[1],
              "Data\\krv.qry:18: warning: the picture right.bmp (200 by 100, x 500 to 699, y 300 to 399) runs off "
              "the screen; a question's pictures stay inside the dark view, x 10 to 629, y 10 to 400: place it "
              "at x 10 to 430 and y 10 to 301");
}

TEST(TextRoom, MessageAndEndingLinesWiderThanTheirRoomWarn) {
    EXPECT_EQ(messageRoomWarning(3, repeated("a", 54) + "  "), "");
    EXPECT_EQ(messageRoomWarning(3, repeated("é", 54)), "");
    EXPECT_EQ(messageRoomWarning(3, repeated("a", 55)),
              "Data\\krv.lgk:3: warning: this message line has 55 characters, but the message band shows 54 "
              "(x 50 to 592); the rest is cut off: break it into two lines");
    EXPECT_EQ(endingRoomWarning(7, repeated("ü", 64)), "");
    EXPECT_EQ(endingRoomWarning(7, repeated("a", 64) + " "),
              "Data\\krv.end:7: warning: this ending line has 65 characters, but the screen shows 64; it is "
              "centred, so both ends are cut off: break it into two lines");
}

}  // namespace
