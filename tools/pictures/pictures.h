#pragma once
// The game's default pictures, generated from code: the frame around the 3D
// view (border1.bmp), the options menu's exit item (ext_sel.bmp, ext_not.bmp)
// and the mode dialog's title picture (title.bmp). `krvtool pictures OUT`
// writes them into OUT; the content build writes them into the game's Pics/.
// The same code always writes the same bytes.

#include <string>

#include "pictures/canvas.h"
#include "shell/message_band.h"

// Where the game draws over the frame; the frame must leave these dark.
namespace frame_layout {
// The renderer paints x 10..629 and y 10..400 (inclusive).
constexpr int kViewLeft = 10;
constexpr int kViewTop = 10;
constexpr int kViewRight = 629;
constexpr int kViewBottom = 400;
// The message band's clip rectangle: white text lines scroll through it.
constexpr int kBandLeft = MessageBand::kLeft;
constexpr int kBandTop = MessageBand::kTop;
constexpr int kBandRight = MessageBand::kRight;
constexpr int kBandBottom = MessageBand::kBottom;
}  // namespace frame_layout

// The menu draws an item at (30, 30) without clipping and counts rows in 8
// bits, so a menu picture may be at most 610 wide and 255 high.
namespace menu_layout {
constexpr int kWidth = 200;
constexpr int kHeight = 48;
constexpr int kMaxWidth = 610;
constexpr int kMaxHeight = 255;
}  // namespace menu_layout

constexpr int kTitleWidth = 231;
constexpr int kTitleHeight = 272;

// 640 by 480: stone frame, recessed view opening and message panel.
IndexedPicture make_frame_picture();
// The exit item; 215 (white) only where the dimmed frame shows through.
IndexedPicture make_exit_item_picture(bool selected);
// 231 by 272: a maze corridor in perspective under the name.
IndexedPicture make_title_picture();

// Writes the four pictures as 8-bit BMPs in the game palette into folder,
// which must exist; says which file failed on stderr.
bool write_pictures(const std::string& folder);
