#pragma once
// The maze source format: plain text a person edits. A legend says what each
// map character stands for (walls, or floor and ceiling heights with their
// textures), a map draws the maze from above (north, -z, at the top), and a
// marks grid laid over the map places named start points, passage and sound
// boxes and object places. docs/maze-format.md describes it for authors.

#include <map>
#include <string>
#include <vector>

struct CellType {
    bool solid = true;   // a wall block (or nothing, for the blank)
    double floor = 0.0;  // world y of the floor
    double ceiling = 0.0;
    std::string ground;  // floor texture
    std::string roof;    // ceiling texture
    std::string walls;   // texture of the walls, risers and lintels it shows
    int line = 0;        // where the legend defined it
};

enum class MarkKind { Start, Passage, Sound, Object };

struct MarkDefinition {
    char symbol = 0;
    MarkKind kind = MarkKind::Start;
    std::string name;
    int line = 0;
};

struct MazeSource {
    std::string fileName;
    std::string title;
    double cell = 50.0;    // world units per map character
    double originX = 0.0;  // world x, z of the map's north-west corner
    double originZ = 0.0;
    bool hasHome = false;
    double homeX = 0.0, homeY = 0.0, homeZ = 0.0;
    double skirtingWidth = 20.0;
    double skirtingHeight = 20.0;
    std::string skirtingTexture;
    double textureScale = 128.0;  // world units per texture repetition
    std::map<char, CellType> legend;
    std::vector<std::string> map;    // rows, north first
    int mapLine = 0;                 // file line of the first row
    std::vector<std::string> marks;  // same layout as the map
    int marksLine = 0;
    std::vector<MarkDefinition> markDefinitions;
};

const char* mark_kind_name(MarkKind kind);

// Parses a source text; on failure `error` reads "FILE:LINE:COLUMN: message".
bool parse_maze_source(const std::string& text, const std::string& fileName, MazeSource& source,
                       std::string& error);
bool read_maze_source(const std::string& path, MazeSource& source, std::string& error);
