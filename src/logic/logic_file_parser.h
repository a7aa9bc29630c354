#pragma once
// The logic file's syntax: records of start points (B), passages (E), sound
// zones (S) and objects (O), each a header line and a fixed run of value
// lines, read into plain records in file order, and judged against the
// mazes that exist. Nothing here touches the world, the framework or the
// disk beyond the file being read, so it runs on its own under a fuzzer and
// in `krvtool check`.

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "framework/files.h"
#include "logic/world.h"

struct LogicStartPoint {
    StartPoint point;
};

// A passage record is the world's own passage.
using LogicPassage = Passage;

struct LogicSoundZone {
    std::int32_t sound = 0;
    Box box;
};

struct LogicObject {
    std::string name;  // models are shared between objects of equal name
    std::string file;  // in Objects\, checked to stay inside the game folder
    std::int32_t active = 0;
    Vec3 position;
    Vec3 otherPosition;
    std::vector<std::string> message;  // every line up to the "#" line, unchanged
    int messageLine = 0;               // of the message's first line, for messages
};

struct LogicRecord {
    int line = 0;           // of the header
    std::int32_t maze = 0;  // the header's number
    std::variant<LogicStartPoint, LogicPassage, LogicSoundZone, LogicObject> value;
};

inline constexpr const char* kLogicError = "error in logik file";
inline constexpr const char* kListFull = "No new begin possible!";
inline constexpr const char* kSlotsFull = "No object slots available!";

// What went wrong where. A problem with a fatal message stops the game with
// that message; one without is a warning.
struct LogicProblem {
    int line = 0;
    std::string reason;
    const char* fatalMessage = kLogicError;
};

struct LogicFileContents {
    std::vector<LogicRecord> records;  // complete records only, in file order
    std::vector<LogicProblem> problems;
    // A header line that is no record: reading stopped there.
    bool headerError = false;
};

// Reads the whole file. An incomplete record at the end of the file is
// dropped with a (non-fatal) problem. An object whose file name is empty,
// absolute or climbs out of its folder is a fatal problem and is left out of
// the records, so nothing opens it. A line that is neither empty, a comment
// nor a record header stops the reading (headerError).
LogicFileContents parseLogicFile(TextFile& file);

// What is known of each maze slot when the file is judged.
struct MazeFacts {
    bool loaded = false;  // its model file loaded
};

// Problems of the parsed file against the mazes that exist: maze numbers,
// passage targets (maze with a model, start point it has), list and slot
// capacities, and sound numbers outside the set (not fatal: nothing plays).
std::vector<LogicProblem> judgeLogicFile(const LogicFileContents& contents,
                                         std::span<const MazeFacts> mazes, int soundCount);

// A number line, read as readLineNumber (geometry/model_lines.h) reads the
// integer lines but as a float; false for a number no float holds or
// one beyond the bound a maze coordinate can sensibly have.
bool logicNumber(std::string_view line, float& value);
inline constexpr float kLogicNumberBound = 1.0e7f;

