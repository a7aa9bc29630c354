#pragma once
// The texts the game draws from content (the logic file's messages, the
// question lines, the ending lines) held to the game's own font: a line with
// characters the font has no glyph for, each drawn as the replacement mark,
// gets one warning at the first of them,
//   "file:line:column: warning: ...",
// the column counted in characters as the game decodes the line
// (framework/text_decode.h), as an editor counts them.

#include <string>
#include <string_view>
#include <vector>

struct ContentTexts;
struct GfxFont;

// All the warnings of the texts, in file order; none when the data root's
// game font does not load (the game then draws no text at all).
std::vector<std::string> checkTextCoverage(const ContentTexts& texts);

// The warning for one line, or empty when the font has all its characters.
std::string missingCharacters(const GfxFont& font, std::string_view file, int line,
                              std::string_view text);
