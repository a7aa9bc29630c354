#pragma once
// Where a walking player can go: a flood of the game's own move test over
// each maze's floors, from the first maze's home and from every passage
// arrival a reachable passage leads to, and what of the logic file lies
// out of reach (objects, passage boxes) or stands wrong (start points off
// the floor or inside a passage box, objects floating or in a wall).

#include <span>
#include <string>
#include <vector>

#include "logic/logic_file_parser.h"

struct Model;

// One problem per finding, "Data\krv.lgk:line: reason", in file order.
// `mazes[i]` is maze i's model (loaded, with its grid), `objects` the model
// of each object record in file order (none where it failed to load).
std::vector<std::string> checkReach(const LogicFileContents& contents, std::span<Model* const> mazes,
                                    std::span<const Model* const> objects, const Vec3& home);
