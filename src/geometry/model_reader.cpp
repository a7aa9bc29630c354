// Model::load: the object file reader. Each section is searched from the top
// of the file on its own, so sections may stand in any order; once any read
// has reached the end of the file, every later search fails.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "framework/fatal.h"
#include "framework/files.h"
#include "geometry/collision_grid.h"
#include "geometry/model.h"
#include "geometry/model_lines.h"
#include "geometry/texture_list.h"

namespace {

// Counts beyond this are refused before anything is allocated; every
// counted thing also needs a line of at least two bytes in the file.
constexpr long long kMaxCount = 10'000'000;

// Texture coordinates (in repetitions, before scaling to texels) beyond
// this cannot be shifted or stepped by the rasterizers in 32-bit integers.
constexpr float kMaxTexCoord = 1.0e6f;

// Coordinates beyond this would overflow later stages: the collision grid
// turns them into 32-bit cell numbers and the camera transform squares
// differences of them. A million units is hundreds of times any maze.
constexpr float kMaxCoordinate = 1.0e6f;

// The collision grid is one allocation of cells of a few hundred bytes; a
// model so large or a cell so small that it needs more is refused.
constexpr long long kMaxGridCells = 1LL << 20;

// The renderer walks one subtree recursively: deeper trees would risk its
// stack. Stored trees are far shallower.
constexpr int kMaxTreeDepth = 20'000;

bool startsWith(std::string_view line, std::string_view keyword) {
    return line.substr(0, keyword.size()) == keyword;
}

std::string formatNumber(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::int32_t clampToInt32(long long value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

class ObjectFileReader {
public:
    ObjectFileReader(Model& model, std::string_view fileName) : model_(model), name_(fileName) {}

    bool read(std::int32_t cellSize) {
        if (cellSize < 1 && cellSize != -1) return fail(0, "invalid collision grid cell size");
        if (!file_.open(name_)) return fail(0, "cannot open the file");
        std::error_code error;
        fileSize_ = std::filesystem::file_size(file_.path(), error);
        if (error) fileSize_ = 0;

        if (!readCount("#numberOfPoints", model_.pointCount) ||
            !readCount("#numberOfPolygons", model_.polygonCount) ||
            !readCount("#numberOfFaces", model_.faceCount) ||
            !readCount("#numberOfBspNodes", model_.nodeCount)) {
            return false;
        }
        createArrays();
        if (!readVertices() || !readPolygons() || !readFaces() || !readFaceNormals() ||
            !readTextures() || !readFaceProperties() || !readCorrespondences() || !readBspTree() ||
            !readPointNormals() || !checkTree() || !deriveTexCoords()) {
            return false;
        }
        if (cellSize != -1) {
            if (model_.pointCount == 0) {
                return fail(0, "a model with a collision grid needs at least one point");
            }
            const long long cells = collisionGridCells(model_, cellSize);
            if (cells > kMaxGridCells) {
                return fail(0, "the collision grid would need " + std::to_string(cells) +
                                   " cells of " + std::to_string(cellSize) + " units, more than " +
                                   std::to_string(kMaxGridCells));
            }
            if (const auto overflow = buildCollisionGrid(model_, cellSize))
                return gridFull(*overflow, cellSize);
        }
        return true;
    }

private:
    // The game cannot go on without the grid: the file and the cell go to
    // stderr first, then the fatal error's own message ends the program.
    bool gridFull(const GridOverflow& overflow, std::int32_t cellSize) {
        const std::string size = std::to_string(cellSize);
        fail(0, "more than " + std::to_string(GridCell::kCapacity) +
                    " floor and ceiling polygons in one collision cell (the " + size + " by " +
                    size + " square at x " + std::to_string(overflow.cellX) + ", z " +
                    std::to_string(overflow.cellZ) + "; polygon " +
                    std::to_string(overflow.polygon) +
                    " is one too many): compile the model again from its source with krvtool, "
                    "which says what to simplify");
        if (model_.loadMode == ModelLoadMode::Check) return false;
        std::fprintf(stderr, "%s\n", model_.loadError.describe().c_str());
        gfx_fatal_error(kGridCellFullMessage);
    }

    bool fail(int line, std::string reason) {
        model_.loadError = {std::string(name_), line, std::move(reason)};
        return false;
    }

    bool readLine(std::string& line) {
        const bool read = file_.readLine(line);
        if (file_.atEnd()) reachedEnd_ = true;
        return read;
    }

    bool findSection(std::string_view keyword) {
        if (reachedEnd_) {
            return fail(file_.lineNumber(), "the end of the file was reached before " +
                                                std::string(keyword) +
                                                " was searched (is a list not closed by an "
                                                "empty line, or a line feed missing?)");
        }
        file_.rewind();
        std::string line;
        while (readLine(line)) {
            if (!startsWith(line, keyword)) continue;
            if (!file_.lastLineEnded()) {
                return fail(file_.lineNumber(),
                            std::string(keyword) + " line must end with a line feed");
            }
            return true;
        }
        return fail(0, "no " + std::string(keyword) + " section");
    }

    bool readCount(std::string_view keyword, std::int32_t& count) {
        if (!findSection(keyword)) return false;
        std::string line;
        if (!readLine(line))
            return fail(file_.lineNumber(), "count missing after " + std::string(keyword));
        long long value = 0;
        if (!parseCountLine(line, value)) {
            return fail(file_.lineNumber(),
                        "'" + line + "' is not a count (one number, nothing after it)");
        }
        if (value < 0) return fail(file_.lineNumber(), "negative count " + std::to_string(value));
        if (value > kMaxCount || value * 2 > static_cast<long long>(fileSize_)) {
            return fail(file_.lineNumber(), "count " + std::to_string(value) +
                                                " is more than a file of " +
                                                std::to_string(fileSize_) + " bytes can hold");
        }
        count = static_cast<std::int32_t>(value);
        return true;
    }

    void createArrays() {
        const std::size_t points = static_cast<std::size_t>(model_.pointCount) + 1;
        model_.points.assign(points, Vec3{});
        model_.viewPoints.assign(points, Vec3{});
        model_.projectedPoints.assign(points, Vec3{});
        model_.pointNormals.assign(points, Vec3{});
        model_.polygons.assign(static_cast<std::size_t>(model_.polygonCount) + 1, Polygon{});
        model_.faces.assign(static_cast<std::size_t>(model_.faceCount) + 1, Face{});
        model_.nodes.assign(static_cast<std::size_t>(model_.nodeCount) + 1, BspNode{});
        polygonLines_.assign(static_cast<std::size_t>(model_.polygonCount) + 1, 0);
        nodeLines_.assign(static_cast<std::size_t>(model_.nodeCount) + 1, 0);
    }

    // A counted list: non-empty lines numbered from 1, closed by an empty
    // line (or the end of the file, which the next search then refuses).
    template <typename PerLine>
    bool readList(std::string_view keyword, std::int32_t count, std::string_view what,
                  PerLine perLine) {
        if (!findSection(keyword)) return false;
        std::string line;
        std::int32_t n = 0;
        while (readLine(line) && !line.empty()) {
            ++n;
            if (n > count) {
                return fail(file_.lineNumber(), std::string(keyword) + " holds more than " +
                                                    std::to_string(count) + " " +
                                                    std::string(what));
            }
            if (!perLine(n, line)) return false;
        }
        if (n != count) {
            return fail(file_.lineNumber(), std::string(keyword) + " holds " + std::to_string(n) +
                                                " " + std::string(what) + ", " +
                                                std::to_string(count) + " declared");
        }
        return true;
    }

    bool readVertices() {
        return readList(
            "#vertices", model_.pointCount, "points", [&](std::int32_t n, const std::string& line) {
                Vec3& point = model_.points[n];
                if (!parsePointLine(line, point))
                    return fail(file_.lineNumber(), "number out of range");
                for (const float coordinate : {point.x, point.y, point.z}) {
                    if (std::fabs(coordinate) > kMaxCoordinate) {
                        return fail(file_.lineNumber(), "coordinate " + formatNumber(coordinate) +
                                                            " is beyond +-1000000");
                    }
                }
                return true;
            });
    }

    bool readPolygons() {
        std::vector<long long> indices;
        return readList("#polygons", model_.polygonCount, "polygons",
                        [&](std::int32_t n, const std::string& line) {
                            parseIndexList(line, indices);
                            Polygon& polygon = model_.polygons[n];
                            for (const long long index : indices) {
                                if (index < 1 || index > model_.pointCount) {
                                    return fail(file_.lineNumber(),
                                                "point index " + std::to_string(index) +
                                                    " outside 1 to " +
                                                    std::to_string(model_.pointCount));
                                }
                                polygon.addPoint(static_cast<std::int32_t>(index));
                            }
                            polygonLines_[n] = file_.lineNumber();
                            return true;
                        });
    }

    bool readFaces() {
        std::vector<long long> indices;
        const bool read = readList(
            "#faces", model_.faceCount, "faces", [&](std::int32_t n, const std::string& line) {
                parseIndexList(line, indices);
                for (const long long index : indices) {
                    if (index < 1 || index > model_.polygonCount) {
                        return fail(file_.lineNumber(), "polygon index " + std::to_string(index) +
                                                            " outside 1 to " +
                                                            std::to_string(model_.polygonCount));
                    }
                    model_.polygons[index].face = n;  // a polygon named twice keeps the later face
                }
                return true;
            });
        if (!read) return false;
        // Texture derivation, the collision grid and the renderer all look
        // a polygon's face up.
        for (std::int32_t p = 1; p <= model_.polygonCount; ++p) {
            if (model_.polygons[p].face == -1) {
                return fail(polygonLines_[p],
                            "polygon " + std::to_string(p) + " is named by no face");
            }
        }
        return true;
    }

    bool readFaceNormals() {
        return readList("#facenormals", model_.faceCount, "normals",
                        [&](std::int32_t n, const std::string& line) {
                            Vec3 normal;
                            if (!parsePointLine(line, normal))
                                return fail(file_.lineNumber(), "number out of range");
                            model_.faces[n].setNormal(normal.x, normal.y, normal.z);
                            return true;
                        });
    }

    bool readTextures() {
        if (!findSection("#textures")) return false;
        std::string line;
        TextureLine texture;
        while (readLine(line) && !line.empty()) {
            if (!parseTextureLine(line, texture)) {
                return fail(file_.lineNumber(), "texture line needs width, height, name and file");
            }
            model_.textures.add(clampToInt32(texture.width), clampToInt32(texture.height),
                                texture.name, texture.file, name_, file_.lineNumber());
        }
        return true;
    }

    bool readFaceProperties() {
        PropertyLine property;
        return readList(
            "#faceproperties", model_.faceCount, "properties",
            [&](std::int32_t n, const std::string& line) {
                if (!parsePropertyLine(line, property)) {
                    const long long kind = readInteger(line, 0).value;
                    if (kind < 0 || kind > 5) {
                        return fail(file_.lineNumber(),
                                    "surface kind " + std::to_string(kind) + " outside 0 to 5");
                    }
                    return fail(file_.lineNumber(), "textured face without a texture name");
                }
                Face& face = model_.faces[n];
                const auto kind = static_cast<SurfaceKind>(property.kind);
                if (isTextured(kind)) {
                    face.setTexture(kind, model_.textures.find(property.textureName));
                } else {
                    face.setColour(kind, clampToInt32(property.colour));
                }
                return true;
            });
    }

    // One block of seven lines per textured face, in face order, with no
    // count and no separator: a block left out shifts every later one.
    bool readCorrespondences() {
        if (!findSection("#correspondences")) return false;
        std::string line;
        for (std::int32_t f = 1; f <= model_.faceCount; ++f) {
            Face& face = model_.faces[f];
            if (!face.textured()) continue;
            const std::string ended =
                "the file ends inside the correspondence block of face " + std::to_string(f);
            if (!readLine(line)) return fail(file_.lineNumber(), ended);
            const int blockLine = file_.lineNumber();
            MappingBlock block;
            for (Vec3& vector : block) {
                if (!readLine(line)) return fail(file_.lineNumber(), ended);
                if (!parseCorrespondenceLine(line, vector)) {
                    return fail(file_.lineNumber(), "number out of range");
                }
            }
            if (!face.setMapping(block, true)) {
                fail(blockLine, "the correspondence block of face " + std::to_string(f) +
                                    " gives no texture mapping (points on one line, or the "
                                    "face normal in their plane)");
                if (model_.loadMode == ModelLoadMode::Check) return false;
                // The game cannot go on without the mapping: say where, then
                // let the inverse end the program with its own message.
                std::fprintf(stderr, "%s\n", model_.loadError.describe().c_str());
                face.setMapping(block, false);
            }
        }
        return true;
    }

    bool linkInRange(long long link, std::int32_t count) {
        return link == -1 || (link >= 1 && link <= count);
    }

    bool readBspTree() {
        NodeLine node;
        std::string reason;
        return readList(
            "#bsptree", model_.nodeCount, "nodes", [&](std::int32_t n, const std::string& line) {
                if (!parseNodeLine(line, n, node, reason)) return fail(file_.lineNumber(), reason);
                if (!linkInRange(node.polygon, model_.polygonCount)) {
                    return fail(file_.lineNumber(), "node " + std::to_string(n) + ": polygon " +
                                                        std::to_string(node.polygon) +
                                                        " outside 1 to " +
                                                        std::to_string(model_.polygonCount));
                }
                const std::pair<const char*, std::int32_t> links[] = {{"frontlist", node.frontlist},
                                                                      {"backlist", node.backlist},
                                                                      {"fronttree", node.fronttree},
                                                                      {"backtree", node.backtree}};
                for (const auto& [field, link] : links) {
                    if (!linkInRange(link, model_.nodeCount)) {
                        return fail(file_.lineNumber(), "node " + std::to_string(n) + ": " + field +
                                                            " " + std::to_string(link) +
                                                            " outside 1 to " +
                                                            std::to_string(model_.nodeCount));
                    }
                }
                model_.nodes[n].setFromFile(node.polygon, node.frontlist, node.backlist,
                                            node.fronttree, node.backtree, node.bounds[0],
                                            node.bounds[1], node.plane[0], node.plane[1],
                                            node.plane[2], node.plane[3]);
                nodeLines_[n] = file_.lineNumber();
                return true;
            });
    }

    // Read last, so it may end at the end of the file; "!!" stands for a
    // point without a normal.
    bool readPointNormals() {
        if (!findSection("#pointnormals")) return false;
        std::string line;
        std::int32_t n = 0;
        while (readLine(line) && !line.empty() && !startsWith(line, "#eof")) {
            ++n;
            if (n > model_.pointCount) {
                return fail(file_.lineNumber(), "#pointnormals holds more than " +
                                                    std::to_string(model_.pointCount) + " normals");
            }
            if (startsWith(line, "!!")) continue;
            if (!parsePointLine(line, model_.pointNormals[n])) {
                return fail(file_.lineNumber(), "number out of range");
            }
        }
        if (n != model_.pointCount) {
            return fail(file_.lineNumber(), "#pointnormals holds " + std::to_string(n) +
                                                " normals, " + std::to_string(model_.pointCount) +
                                                " declared");
        }
        return true;
    }

    // The walks of the renderer follow links without guards: no tree node
    // may be reached twice, no chain may loop, and a chain only holds nodes
    // that have a polygon.
    bool checkTree() {
        const std::int32_t count = model_.nodeCount;
        if (count == 0) return true;
        const auto& nodes = model_.nodes;
        std::vector<std::uint8_t> seen(static_cast<std::size_t>(count) + 1, 0);
        struct Pending {
            std::int32_t node;
            int depth;
        };
        std::vector<Pending> stack{{1, 1}};
        while (!stack.empty()) {
            const Pending pending = stack.back();
            stack.pop_back();
            if (seen[pending.node]) {
                return fail(nodeLines_[pending.node], "node " + std::to_string(pending.node) +
                                                          " is reached twice in the tree");
            }
            seen[pending.node] = 1;
            if (pending.depth > kMaxTreeDepth) {
                return fail(nodeLines_[pending.node],
                            "the tree is deeper than " + std::to_string(kMaxTreeDepth) + " nodes");
            }
            const BspNode& node = nodes[pending.node];
            if (node.fronttree != -1) stack.push_back({node.fronttree, pending.depth + 1});
            if (node.backtree != -1) stack.push_back({node.backtree, pending.depth + 1});
        }
        return checkChains(&BspNode::frontlist, "frontlist") &&
               checkChains(&BspNode::backlist, "backlist");
    }

    bool checkChains(std::int32_t BspNode::*link, const char* field) {
        const std::int32_t count = model_.nodeCount;
        const auto& nodes = model_.nodes;
        // 0 not yet walked, 1 on the chain being walked, 2 known to end.
        std::vector<std::uint8_t> state(static_cast<std::size_t>(count) + 1, 0);
        std::vector<std::int32_t> path;
        for (std::int32_t start = 1; start <= count; ++start) {
            const std::int32_t next = nodes[start].*link;
            if (next != -1 && nodes[next].polygon == -1) {
                return fail(nodeLines_[start], "node " + std::to_string(start) + ": " + field +
                                                   " " + std::to_string(next) + " has no polygon");
            }
            path.clear();
            std::int32_t at = start;
            while (at != -1 && state[at] == 0) {
                state[at] = 1;
                path.push_back(at);
                at = nodes[at].*link;
            }
            if (at != -1 && state[at] == 1) {
                return fail(nodeLines_[at], std::string(field) + " chain through node " +
                                                std::to_string(at) + " loops");
            }
            for (const std::int32_t node : path) state[node] = 2;
        }
        return true;
    }

    bool deriveTexCoords() {
        float minU = 0.0f;
        float minV = 0.0f;
        for (std::int32_t p = 1; p <= model_.polygonCount; ++p) {
            Polygon& polygon = model_.polygons[p];
            polygon.computeTexCoords(model_.points, model_.faces, minU, minV);
            for (std::int32_t k = 1; k <= polygon.pointCount; ++k) {
                const Vec3& t = polygon.texCoords[k];
                if (!(std::fabs(t.x) <= kMaxTexCoord && std::fabs(t.y) <= kMaxTexCoord)) {
                    return fail(polygonLines_[p], "texture coordinates of polygon " +
                                                      std::to_string(p) +
                                                      " are out of range (face " +
                                                      std::to_string(polygon.face) + "'s mapping)");
                }
            }
        }
        // Whole repetitions leave the picture unchanged, and afterwards no
        // textured coordinate is negative. Both axes shift together.
        if (static_cast<double>(minU) < -0.0001 || static_cast<double>(minV) < -0.0001) {
            const auto du = static_cast<std::int32_t>(minU) - 1;  // truncates toward zero
            const auto dv = static_cast<std::int32_t>(minV) - 1;
            for (std::int32_t p = 1; p <= model_.polygonCount; ++p)
                model_.polygons[p].shiftTexCoords(du, dv);
        }
        for (std::int32_t p = 1; p <= model_.polygonCount; ++p) model_.polygons[p].scaleTexCoords();
        return true;
    }

    Model& model_;
    std::string_view name_;
    TextFile file_;
    std::uintmax_t fileSize_ = 0;
    bool reachedEnd_ = false;
    std::vector<int> polygonLines_;
    std::vector<int> nodeLines_;
};

}  // namespace

bool Model::load(std::string_view fileName, std::int32_t cellSize) {
    resetToEmpty();
    bspBounds = {};
    loadError = {};
    ObjectFileReader reader(*this, fileName);
    if (!reader.read(cellSize)) {
        resetToEmpty();
        return false;
    }
    transformedFlags.assign(static_cast<std::size_t>(pointCount) + 1, 0);
    projectedFlags.assign(static_cast<std::size_t>(pointCount) + 1, 0);
    bspBounds = buildBspBounds(points, polygons, nodes);
    return true;
}
