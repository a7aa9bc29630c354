// The words for every error code of the graphics library. Codes the library
// does not raise today keep texts of their own, so that a message never
// depends on which codes happen to be in use.

#include "framework/gfx_errors.h"

#include <iterator>

#include "framework/framework.h"

namespace {

constexpr const char* kMessages[] = {
    "No error",                                 // 0
    "Unable to initialise the platform layer",  // -1
    "Unable to set the display mode",           // -2
    "File not found",                           // -3
    "Unable to read the file",                  // -4
    "Not a valid bitmap file",                  // -5
    "Unsupported bitmap format",                // -6
    "Not enough memory",                        // -7
    "Not a valid font file",                    // -8
    "Unable to open the window",                // -9
    "No display available",                     // -10
    "Display mode not available",               // -11
    "Too few pages for the display mode",       // -12
    "Unable to create the drawing surface",     // -13
    "Unable to present the page",               // -14
    "Invalid drawing context",                  // -15
    "Invalid palette range",                    // -16
    "Unable to set the palette",                // -17
    "Invalid clip rectangle",                   // -18
    "Invalid bitmap",                           // -19
    "Bitmap too large",                         // -20
    "Unsupported colour depth",                 // -21
    "Invalid write mode",                       // -22
    "Unable to write the file",                 // -23
    "Invalid file name",                        // -24
    "Font file too large",                      // -25
    "Font has no characters",                   // -26
    "No font selected",                         // -27
    "Unable to open the sound device",          // -28
    "Not a valid sound file",                   // -29
    "Invalid argument",                         // -30
    "Operation not supported",                  // -31
};
static_assert(std::size(kMessages) == 1 - gfx_error::kLowest, "one text for every code");

}  // namespace

const char* gfx_error_message(int code) {
    if (code > gfx_error::kNone || code < gfx_error::kLowest) return "Invalid error number";
    return kMessages[-code];
}
