#pragma once
// Data\krv.lgk into the world: start points, passages and sound zones of the
// mazes, and the objects with their messages, in file order. The syntax is
// logic_file_parser.h's; this adds what only the loaded world can judge.

#include <span>
#include <vector>

#include "logic/logic_file_parser.h"

class World;
class MessageBoard;

inline constexpr const char* kLogicFile = "Data\\krv.lgk";
inline constexpr int kObjectCellSize = 50;

// What is known of each maze slot when the file is judged.
struct MazeFacts {
    bool loaded = false;  // its model file loaded
};

// Problems of the parsed file against the mazes that exist: maze numbers,
// passage targets (maze with a model, start point it has), list and slot
// capacities, and sound numbers outside the set (not fatal: nothing plays).
std::vector<LogicProblem> judgeLogicFile(const LogicFileContents& contents,
                                         std::span<const MazeFacts> mazes, int soundCount);

// Reads the logic file into the world and the message board. Every problem
// is written to stderr as "Data\krv.lgk:line: reason"; a file that cannot
// be opened, a line that is no record and a record the world cannot hold
// end the program.
void loadLogicFile(World& world, MessageBoard& messages);
