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
    int objects = 0;  // object records of the logic file
};

// Sets the data root to `folder` (empty: the working folder) and checks the
// three mazes, the logic file and the object models it names, every other
// .krv in Objects/, every texture they declare, and the question, intro and
// ending files with their pictures.
CheckReport checkGameData(const std::string& folder);
