#pragma once
// Where the game's texts have room, in the game's own measures: what
// `krvtool check` holds question, message and ending lines to, and what
// anything that lays quiz text out must keep to for check to stay silent.
//
// The game's font is fixed-width: every character, drawn or not, advances
// kGlyphWidth pixels, and the game puts its lines kLineHeight apart
// (docs/font-format.md). Widths are counted in characters as the game
// decodes a line (UTF-8, or Latin-1 for a line that is not), never in bytes.

#include <string_view>

#include "framework/screen.h"
#include "render/projection.h"
#include "render/span_buffer.h"
#include "shell/message_band.h"
#include "shell/question_file.h"

inline constexpr int kGlyphWidth = 10;
inline constexpr int kLineHeight = kQuestionLineSpacing;  // 20: a line below the one before

// A question is drawn over the dark 3D view; its text lines and pictures
// stay inside it (both ends inclusive).
inline constexpr int kQuestionLeft = kViewLeft;                                      // 10
inline constexpr int kQuestionRight = kViewRight;                                    // 629
inline constexpr int kQuestionTop = static_cast<int>(kViewOriginY);                  // 10
inline constexpr int kQuestionBottom = static_cast<int>(kViewOriginY + kViewHeight);  // 400

// The message band: lines start at kMessageX and are cut at kBandRight.
inline constexpr int kMessageLeft = MessageBand::kTextX;                              // 50
inline constexpr int kMessageRight = MessageBand::kRight;                             // 592
inline constexpr int kMessageColumns = (kMessageRight - kMessageLeft) / kGlyphWidth;  // 54

// Ending lines are centred on the screen and cut at its edges.
inline constexpr int kEndingColumns = kScreenWidth / kGlyphWidth;  // 64

// Characters of a line as the game draws them.
int textColumns(std::string_view utf8);

// The columns of a line that show ink: from its first to just after its
// last character that is not a blank (first == end when there is none).
struct InkColumns {
    int first = 0;
    int end = 0;
};
InkColumns inkColumns(std::string_view utf8);

// How many characters a question line starting at x can hold.
inline constexpr int questionColumnsFrom(int x) { return (kQuestionRight + 1 - x) / kGlyphWidth; }
// The y of the last line a question can show whole.
inline constexpr int kLastQuestionLineY = kQuestionBottom + 1 - kLineHeight;  // 381
