#include "support/test_models.h"

#include <fstream>
#include <random>

#include "framework/files.h"
#include "geometry/trig.h"
#include "support/scratch_folders.h"

namespace {

std::string pointLine(const Vec3& p) {
    return std::to_string(p.x) + ", " + std::to_string(p.y) + ", " + std::to_string(p.z) + "\n";
}

}  // namespace

TestPolygon floorRect(float x0, float z0, float x1, float z1, float y) {
    // Counter-clockwise seen from above; the grid does not care.
    return {{{x0, y, z0}, {x0, y, z1}, {x1, y, z1}, {x1, y, z0}}, {0.0f, 1.0f, 0.0f}};
}

TestPolygon ceilingRect(float x0, float z0, float x1, float z1, float y) {
    return {{{x0, y, z0}, {x1, y, z0}, {x1, y, z1}, {x0, y, z1}}, {0.0f, -1.0f, 0.0f}};
}

TestPolygon wallRect(float x0, float x1, float z, float y0, float y1) {
    return {{{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}}, {0.0f, 0.0f, 1.0f}};
}

std::string modelText(const std::vector<TestPolygon>& polygons) {
    std::size_t pointCount = 0;
    for (const TestPolygon& polygon : polygons) pointCount += polygon.points.size();
    const std::size_t count = polygons.size();

    std::string text;
    text += "#numberOfPoints\n" + std::to_string(pointCount) + "\n";
    text += "#numberOfPolygons\n" + std::to_string(count) + "\n";
    text += "#numberOfFaces\n" + std::to_string(count) + "\n";
    text += "#numberOfBspNodes\n" + std::to_string(count) + "\n";
    text += "#vertices\n";
    for (const TestPolygon& polygon : polygons) {
        for (const Vec3& p : polygon.points) text += pointLine(p);
    }
    text += "\n#polygons\n";
    std::size_t next = 1;
    for (const TestPolygon& polygon : polygons) {
        for (std::size_t k = 0; k < polygon.points.size(); ++k) {
            text += (k ? ", " : "") + std::to_string(next++);
        }
        text += "\n";
    }
    text += "\n#faces\n";
    for (std::size_t i = 1; i <= count; ++i) text += std::to_string(i) + "\n";
    text += "\n#facenormals\n";
    for (const TestPolygon& polygon : polygons) text += pointLine(polygon.normal);
    text += "\n#textures\n\n#faceproperties\n";
    for (std::size_t i = 1; i <= count; ++i) text += "1, 187\n";
    text += "\n#correspondences\n#bsptree\n";
    // A chain through every polygon; the collision tests never walk it.
    for (std::size_t i = 1; i <= count; ++i) {
        text += std::to_string(i) + ": polygon " + std::to_string(i) + " fronttree " +
                (i < count ? std::to_string(i + 1) : std::string("-1")) + "\n";
    }
    text += "\n#pointnormals\n";
    for (std::size_t i = 0; i < pointCount; ++i) text += "!!\n";
    text += "#eof\n";
    return text;
}

TestModelFolder::TestModelFolder() : previousRoot_(fw_data_root()) {
    // The tables classify the face normals while loading.
    buildTrigTables();
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() /
            ("krv-collision-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(root_ / "Objects");
    ScratchFolders::removeWhenProcessEnds(root_);
    fw_set_data_root(root_.string());
}

TestModelFolder::~TestModelFolder() {
    fw_set_data_root(previousRoot_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string TestModelFolder::write(const std::string& name, const std::string& text) {
    std::ofstream out(root_ / "Objects" / (name + ".krv"), std::ios::binary);
    out << text;
    return "Objects\\" + name + ".krv";
}

std::unique_ptr<Model> TestModelFolder::load(const std::string& name,
                                             const std::vector<TestPolygon>& polygons,
                                             std::int32_t cellSize) {
    const std::string path = write(name, polygons);
    return std::make_unique<Model>(path, textures, cellSize, Vec3{});
}
