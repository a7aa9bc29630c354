#pragma once
// The whole maze compilation, as `krvtool maze` and the content step run it.

#include <string>

struct MazeBuild;
struct MazeSource;

// The game's collision grid for mazes: cells of 100 units holding at most 50
// floor and ceiling polygons each.
constexpr int kMazeGridCell = 100;
constexpr int kGridCellCapacity = 50;

// Source -> checked model file, and the marks' world coordinates to
// `marksPath` (skipped when empty). Prints a summary when verbose.
bool compile_maze_file(const std::string& sourcePath, const std::string& modelPath, const std::string& marksPath,
                       bool verbose, std::string& error);

// The same for a source already read and built (its warnings not yet
// printed); the build's mesh is used up.
bool compile_built_maze(const std::string& sourcePath, const MazeSource& source, MazeBuild& build,
                        const std::string& modelPath, const std::string& marksPath, bool verbose, std::string& error);
