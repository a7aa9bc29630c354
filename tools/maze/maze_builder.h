#pragma once
// From a maze source to geometry: merged floor and ceiling rectangles, walls
// where floor ends, risers and lintels between cells of different heights,
// skirting strips that keep the eye off the walls, and the world positions
// of the source's marks.

#include <string>
#include <vector>

#include "maze/maze_source.h"
#include "maze/mesh.h"

// Player limits the geometry is designed around (world units).
constexpr double kEyeHeight = 40.0;
constexpr double kStepHeight = 15.0;
constexpr double kHeadRoom = 80.0;  // from the floor to the lowest ceiling passed under

// A mark in world coordinates. Start points and object places are points
// (lo == hi): a start point at eye height above its floor, an object place on
// its floor. Passage and sound boxes span the marked cells from the lowest
// floor to the highest ceiling; the game tests the eye against them.
struct MazeMark {
    MarkKind kind = MarkKind::Start;
    std::string name;
    double lo[3] = {};
    double hi[3] = {};
};

struct MazeBuild {
    Mesh mesh;
    std::vector<MazeMark> marks;        // in the order of the 'mark' lines
    std::vector<std::string> warnings;  // "FILE:LINE:COLUMN: text"
};

bool build_maze(const MazeSource& source, MazeBuild& build, std::string& error);

// The marks as text, one per line, for a logic file's author.
std::string marks_text(const MazeSource& source, const std::vector<MazeMark>& marks);
