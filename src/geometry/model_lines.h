#pragma once
// The line syntax of object files, one parser per kind of line. Each keeps
// the format's rules to the letter, quirks included, so that every file reads
// the same in the game and in the tools: numbers end where C's strtol/strtod
// would end them, separators are skipped by a fixed number of characters,
// and a number that is not there reads as 0.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/vec3.h"

// A number read from text at pos. Leading white space and a sign are taken;
// when no digit follows, nothing is converted and end is pos itself.
struct IntegerRead {
    long long value = 0;
    std::size_t end = 0;
    bool converted = false;
    bool inRange = true;  // false beyond 32-bit range (value then clamped)
};
IntegerRead readInteger(std::string_view text, std::size_t pos);

// A value line of the game's other text files (logic, questions, intro,
// ending): the decimal integer at its start (blanks and a sign allowed, the
// rest of the line ignored, no number reads as 0), held to 32 bits rather
// than wrapped, so that 4294967296 cannot pass as 0.
std::int32_t readLineNumber(std::string_view line);

// Decimal reals only: digits, a decimal point, an exponent; no hexadecimal,
// "inf" or "nan". inRange is false for a value no float can hold.
struct RealRead {
    double value = 0.0;
    std::size_t end = 0;
    bool converted = false;
    bool inRange = true;
};
RealRead readReal(std::string_view text, std::size_t pos);

// Count line: one integer and nothing after it, not even a blank. An empty
// line reads as 0. False when the line is not such a number.
bool parseCountLine(std::string_view line, long long& value);

// Point line ⟨x, y, z⟩: after the first and the second number exactly two
// characters are skipped, then blanks. False when a value overflows a float.
bool parsePointLine(std::string_view line, Vec3& point);

// Index list ⟨1, 2, 3⟩: a number, and while a comma follows it, two
// characters skipped and the next number. A missing number reads as 0.
void parseIndexList(std::string_view line, std::vector<long long>& indices);

// Texture line ⟨256, 256, brick, brick.bmp⟩. False with fewer than two words.
struct TextureLine {
    long long width = 0;
    long long height = 0;
    std::string name;
    std::string file;
};
bool parseTextureLine(std::string_view line, TextureLine& texture);

// Property line ⟨1, 187⟩ or ⟨3, brick⟩. False for a kind outside 0 to 5 or
// a textured kind without a name.
struct PropertyLine {
    int kind = 0;
    long long colour = 0;     // kinds 0 to 2
    std::string textureName;  // kinds 3 to 5
};
bool parsePropertyLine(std::string_view line, PropertyLine& property);

// A vector line of a correspondence block: up to three reals set off by any
// run of commas and blanks; missing ones read as 0. False on overflow.
bool parseCorrespondenceLine(std::string_view line, Vec3& vector);

// Node line ⟨7: polygon 12 fronttree 8 plane 0 1 0 -50 boundingbox ...⟩.
struct NodeLine {
    std::int32_t polygon = -1;
    std::int32_t frontlist = -1;
    std::int32_t backlist = -1;
    std::int32_t fronttree = -1;
    std::int32_t backtree = -1;
    std::int32_t plane[4] = {-1, -1, -1, -1};
    Vec3 bounds[2];
};
// Fails (with a reason) when the line has no colon, its number is not plain
// or not `position`, nothing follows the colon and its blank, or a polygon or
// link value is a number beyond 32 bits. Other values that are not valid
// leave their fields at the defaults.
bool parseNodeLine(std::string_view line, long long position, NodeLine& node, std::string& reason);
