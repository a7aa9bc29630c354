#pragma once
// A quiz's own maze, from its source: it takes the first maze's place, the
// game begins at its home, its start marks are further start points and its
// object marks are places a question's object may be pinned to.

#include <string>
#include <utility>
#include <vector>

#include "geometry/vec3.h"

struct QuizMaze {
    std::vector<std::pair<std::string, Vec3>> objectMarks;  // name, place on the floor
    std::vector<Vec3> startMarks;                           // eye positions
};

// Reads and builds the source to learn its marks; on failure `error` reads
// "FILE:LINE:COLUMN: message".
bool readQuizMaze(const std::string& path, QuizMaze& maze, std::string& error);

// Compiles it as `krvtool maze` does.
bool compileQuizMaze(const std::string& path, const std::string& modelPath, std::string& error);
