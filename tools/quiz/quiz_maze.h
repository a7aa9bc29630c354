#pragma once
// A quiz's own maze, from its source: it takes the place of one of the
// game's mazes (the game begins at the first one's home), its start marks
// are start points, a passage mark leads to the start mark of the same name
// in any of the quiz's mazes, and its object marks are places a question's
// object may be pinned to.

#include <string>
#include <utility>
#include <vector>

#include "geometry/vec3.h"
#include "logic/world.h"
#include "maze/maze_builder.h"

struct QuizMaze {
    std::vector<std::pair<std::string, Vec3>> objectMarks;  // name, place on the floor
    std::vector<std::pair<std::string, Vec3>> startMarks;   // name, eye position
    std::vector<std::pair<std::string, Box>> passageMarks;  // name, box the eye enters
    // As read and built, for the compilation: the source is read once.
    std::string path;
    MazeSource source;
    MazeBuild build;
};

// Reads and builds the source to learn its marks; on failure `error` reads
// "FILE:LINE:COLUMN: message".
bool readQuizMaze(const std::string& path, QuizMaze& maze, std::string& error);

// Compiles the maze read as `krvtool maze` does; once only, as it uses up
// the build.
bool compileQuizMaze(QuizMaze& maze, const std::string& modelPath, std::string& error);
