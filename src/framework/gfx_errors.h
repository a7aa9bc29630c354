#pragma once
// The graphics library's error codes, as gfx_result reports them and
// gfx_error_message words them: 0 and negative numbers down to -31.

#include <string>

namespace gfx_error {
constexpr int kNone = 0;
constexpr int kPlatform = -1;     // the platform layer would not start
constexpr int kDisplayMode = -2;  // the display mode could not be set
constexpr int kFileNotFound = -3;
constexpr int kReadError = -4;
constexpr int kNotABitmap = -5;
constexpr int kUnsupportedBitmap = -6;
constexpr int kNoMemory = -7;
constexpr int kNotAFont = -8;
constexpr int kWindow = -9;
constexpr int kBitmapTooLarge = -20;
constexpr int kLowest = -31;
}  // namespace gfx_error

// Why the last gfx_bitmap_info or gfx_load_bitmap call refused its file, in
// words an author can act on ("8 bits per pixel needed, file has 24"),
// without the file's name; empty after a call that succeeded.
std::string gfx_bitmap_problem();
