#pragma once
// krvtool check: loads every model of a game folder the way the game does
// and lists what would fail, as "file:line: reason".

#include <string>
#include <vector>

struct CheckReport {
    std::vector<std::string> problems;
    int models = 0;
    int polygons = 0;
    int textures = 0;
};

// Sets the data root to `folder` (empty: the working folder) and checks the
// three mazes, every other .krv in Objects/ and every texture they declare.
CheckReport checkGameData(const std::string& folder);
