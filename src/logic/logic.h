#pragma once
// The game logic, in the order the game meets it:
//
//   logic_file_parser.h  Data\krv.lgk read into plain records (B, E, S, O)
//                        and judged against the mazes: parseLogicFile,
//                        judgeLogicFile
//   logic_file.h         loadLogicFile: the records into the world
//   world.h              World, Slot, StartPoint, Passage, SoundZone, Box:
//                        the mazes and objects, and what happens after
//                        movement (checkPlayerPosition) and on the answer
//                        keys (answerQuestion); the message's scroll state
//   message_board.h      MessageBoard, Message: the objects' scrolling texts
//   maze_table.h         the game's three mazes: slot names, files, cell
//                        size and home (kMazeFiles, kMazeHome)

#include "logic/logic_file.h"
#include "logic/logic_file_parser.h"
#include "logic/maze_table.h"
#include "logic/message_board.h"
#include "logic/world.h"
