#pragma once
// A model file's content as the tools see it: the sections of a .krv file,
// with 0-based indices in memory (the file counts from 1). The compiler fills
// one from a Mesh and writes it; the tests read written files back into one.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "framework/files.h"
#include "maze/mesh.h"

// The longest line the model file may hold, line feed not counted: the
// game's reader takes at most TextFile::kMaxLine characters a line, the line
// feed among them, and reads whatever is left over as the next line.
constexpr std::size_t kMaxModelLine = TextFile::kMaxLine - 1;

struct ModelFace {
    std::vector<int> polygons;  // 0-based
    Point3 normal;              // unit length
    Surface surface;
    // The texture mapping of a textured face: three points on the face and
    // the texture coordinates (in repetitions) they receive.
    Point3 mapPoints[3];
    double mapCoords[3][2] = {};
};

struct ModelPolygon {
    std::vector<int> points;  // 0-based
    int face = -1;            // 0-based
    int part = -1;            // the source line it comes from; not written to the file
};

// Links are 0-based node indices and polygon indices, -1 for none; node 0 is
// the root.
struct ModelNode {
    int polygon = -1;
    int frontlist = -1;
    int backlist = -1;
    int fronttree = -1;
    int backtree = -1;
};

struct ModelTexture {
    std::string name;
    std::string file;
};

struct ModelData {
    std::vector<Point3> points;
    std::vector<ModelPolygon> polygons;
    std::vector<ModelFace> faces;
    std::vector<ModelNode> nodes;
    std::vector<ModelTexture> textures;
};

// The file text in the exact model file format: every list closed by an
// empty line, sections in reading order, points written as the shortest
// decimal that reads back as the same 32-bit float.
std::string model_file_text(const ModelData& model);
bool write_model_file(const std::string& path, const ModelData& model, std::string& error);

// Reads a file this toolkit wrote (the sections in the order written); false
// with a message naming the line on anything unexpected.
bool read_model_file(const std::string& path, ModelData& model, std::string& error);

// The length of an index list line (`#polygons`, `#faces`) naming these
// 0-based indices: "1, 2, 3".
std::size_t index_list_length(std::span<const int> indices);

// The shortest decimal text of a value as a 32-bit float.
std::string float_text(double value);
