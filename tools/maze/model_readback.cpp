#include "maze/model_readback.h"

#include <cstddef>
#include <filesystem>

#include "framework/files.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"

namespace {

// The game opens game paths under its data root; a tool's output path is
// native, so the root is emptied while the file is read.
class NativePaths {
public:
    NativePaths() : saved_(fw_data_root()) { fw_set_data_root(""); }
    ~NativePaths() { fw_set_data_root(saved_); }
    NativePaths(const NativePaths&) = delete;
    NativePaths& operator=(const NativePaths&) = delete;

private:
    std::string saved_;
};

std::string differs(const std::string& path, const std::string& what) {
    return path + ": the game reads " + what + " other than written";
}

// Indices in the game's model are 1-based, in the tools' 0-based.
bool samePolygons(const Model& read, const ModelData& written, std::string& what) {
    for (std::size_t p = 0; p < written.polygons.size(); ++p) {
        const Polygon& polygon = read.polygons[p + 1];
        const ModelPolygon& expected = written.polygons[p];
        bool same = polygon.face == expected.face + 1 &&
                    static_cast<std::size_t>(polygon.pointCount) == expected.points.size();
        for (std::size_t k = 0; same && k < expected.points.size(); ++k) {
            same = polygon.pointIndices[k + 1] == expected.points[k] + 1;
        }
        if (!same) {
            what = "polygon " + std::to_string(p + 1);
            return false;
        }
    }
    return true;
}

}  // namespace

bool read_back_model_file(const std::string& path, const ModelData& written, std::int32_t cellSize,
                          std::string& error) {
    buildTrigTables();  // face slopes are classified with the game's tables
    const NativePaths native;
    TextureList textures;
    const Model read(path, textures, cellSize, Vec3{}, ModelLoadMode::Check);
    if (!read.loaded) {
        error = read.loadError.describe();
        return false;
    }
    const auto count = [](std::size_t n) { return static_cast<std::int32_t>(n); };
    if (read.pointCount != count(written.points.size()) || read.polygonCount != count(written.polygons.size()) ||
        read.faceCount != count(written.faces.size()) || read.nodeCount != count(written.nodes.size())) {
        error = differs(path, "counts");
        return false;
    }
    std::string what;
    if (!samePolygons(read, written, what)) {
        error = differs(path, what);
        return false;
    }
    return true;
}

bool write_checked_model_file(const std::string& sourcePath, const std::string& modelPath, const ModelData& model,
                              std::int32_t cellSize, std::string& error) {
    if (!write_model_file(modelPath, model, error)) return false;
    if (read_back_model_file(modelPath, model, cellSize, error)) return true;
    std::error_code ignored;
    std::filesystem::remove(modelPath, ignored);
    error = sourcePath + ": the compiled model does not load in the game, a fault of the compiler: " + error;
    return false;
}
