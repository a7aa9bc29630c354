#pragma once
// Data\krv.lgk into the world: start points, passages and sound zones of the
// mazes, and the objects with their messages, in file order. Reading and
// judging the file is logic_file_parser.h's; this applies it to the world.

#include "logic/logic_file_parser.h"

class World;
class MessageBoard;

inline constexpr const char* kLogicFile = "Data\\krv.lgk";
inline constexpr int kObjectCellSize = 50;

// Reads the logic file into the world and the message board. Every problem
// is written to stderr as "Data\krv.lgk:line: reason"; a file that cannot
// be opened, a line that is no record, a faulty record (a number out of
// range, an unsafe object file name, a maze or target that does not exist)
// and a record the world cannot hold end the program.
void loadLogicFile(World& world, MessageBoard& messages);
