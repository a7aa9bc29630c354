// The compiler writes no line the game's reader would cut: long faces go on
// as further faces, long polygons are cut, and the read-back sees a line one
// character too long.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "maze/model_check.h"
#include "maze/model_compiler.h"
#include "maze/model_data.h"
#include "maze/model_readback.h"
#include "maze/polygon_split.h"

namespace {

namespace fs = std::filesystem;

Surface brick() {
    Surface surface;
    surface.texture = "brick";
    return surface;
}

fs::path scratchFile(const std::string& name) {
    return fs::temp_directory_path() / ("krv_maze_lines_" + std::to_string(::getpid()) + "_" + name);
}

// `count` separate 10-unit floor squares in a row along x, all of one surface.
Mesh floorTiles(int count) {
    Mesh mesh;
    const int s = mesh.addSurface(brick());
    for (int i = 0; i < count; ++i) {
        const double x = 20.0 * i;
        mesh.addPolygonFacing({{x, 0, 0}, {x + 10, 0, 0}, {x + 10, 0, 10}, {x, 0, 10}}, {0, 1, 0}, s);
    }
    return mesh;
}

std::size_t longestLine(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::size_t longest = 0;
    for (std::string line; std::getline(in, line);) longest = std::max(longest, line.size());
    return longest;
}

TEST(MazeLines, AFullFaceGoesOnAsAnEqualFace) {
    ModelData model;
    CompileReport report;
    std::string error;
    ASSERT_TRUE(compile_model(floorTiles(600), model, report, error)) << error;
    ASSERT_GE(model.faces.size(), 3u);
    EXPECT_EQ(report.facesAdded, static_cast<int>(model.faces.size()) - 1);
    for (const ModelFace& face : model.faces) {
        EXPECT_LE(index_list_length(face.polygons), kMaxModelLine);
        // The same picture: normal, surface and mapping all equal the first's.
        EXPECT_EQ(face.normal, model.faces[0].normal);
        EXPECT_EQ(face.surface, model.faces[0].surface);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(face.mapPoints[k], model.faces[0].mapPoints[k]);
            EXPECT_EQ(face.mapCoords[k][0], model.faces[0].mapCoords[k][0]);
            EXPECT_EQ(face.mapCoords[k][1], model.faces[0].mapCoords[k][1]);
        }
    }
    // Filled up to the line, not short of it: no face line but the last has
    // room for one more index.
    for (std::size_t f = 0; f + 1 < model.faces.size(); ++f) {
        EXPECT_GT(index_list_length(model.faces[f].polygons) + 5, kMaxModelLine) << "face " << f;
    }
    const fs::path file = scratchFile("tiles.krv");
    ASSERT_TRUE(write_model_file(file.string(), model, error)) << error;
    EXPECT_LE(longestLine(file), kMaxModelLine);
    EXPECT_TRUE(read_back_model_file(file.string(), model, -1, error)) << error;
    fs::remove(file);
}

// The reader's 999 characters include the line feed: 998 are read whole,
// 999 leave the line feed to be read as an empty line.
TEST(MazeLines, TheReadBackSeesALineOneCharacterTooLong) {
    ModelData model;
    CompileReport report;
    std::string error;
    ASSERT_TRUE(compile_model(floorTiles(300), model, report, error)) << error;
    // Face 1 takes polygons 100 to 299 (200 three-digit indices: 998
    // characters), face 2 the rest; then one three-digit index is swapped
    // for four two-digit ones (999 characters).
    const auto regroup = [&](const std::vector<int>& first) {
        ModelData m = model;
        m.faces.resize(2, m.faces[0]);
        m.faces[0].polygons = first;
        m.faces[1].polygons.clear();
        for (int p = 0; p < 300; ++p) {
            if (std::find(first.begin(), first.end(), p) == first.end()) m.faces[1].polygons.push_back(p);
        }
        for (int f = 0; f < 2; ++f) {
            for (const int p : m.faces[f].polygons) m.polygons[p].face = f;
        }
        return m;
    };
    std::vector<int> fits;
    for (int p = 99; p < 299; ++p) fits.push_back(p);
    std::vector<int> tooLong(fits.begin() + 3, fits.end());
    for (int p = 10; p < 14; ++p) tooLong.push_back(p);
    ASSERT_EQ(index_list_length(fits), kMaxModelLine);
    ASSERT_EQ(index_list_length(tooLong), kMaxModelLine + 1);

    const fs::path file = scratchFile("regrouped.krv");
    const ModelData whole = regroup(fits);
    ASSERT_TRUE(write_model_file(file.string(), whole, error)) << error;
    EXPECT_TRUE(read_back_model_file(file.string(), whole, -1, error)) << error;
    const ModelData cut = regroup(tooLong);
    ASSERT_TRUE(write_model_file(file.string(), cut, error)) << error;
    EXPECT_FALSE(read_back_model_file(file.string(), cut, -1, error));
    EXPECT_NE(error.find(file.string() + ":"), std::string::npos) << error;
    fs::remove(file);
}

// A floor beside a row of 120 small ones gathers a vertex at each of their
// corners when its T-junctions are closed: too many for the clipper.
TEST(MazeLines, APolygonTooLongIsCutWithoutCracks) {
    Mesh mesh;
    const int s = mesh.addSurface(brick());
    mesh.addPolygonFacing({{0, 0, 0}, {1200, 0, 0}, {1200, 0, 100}, {0, 0, 100}}, {0, 1, 0}, s);
    for (int i = 0; i < 120; ++i) {
        const double x = 10.0 * i;
        mesh.addPolygonFacing({{x, 0, 100}, {x + 10, 0, 100}, {x + 10, 0, 110}, {x, 0, 110}}, {0, 1, 0}, s);
    }
    // The underside of the small ones' strip lies in the same plane facing
    // down, in the other chain of the node; both its long edges gather.
    mesh.addPolygonFacing({{0, 0, 100}, {1200, 0, 100}, {1200, 0, 110}, {0, 0, 110}}, {0, -1, 0}, s);
    ModelData model;
    CompileReport report;
    std::string error;
    ASSERT_TRUE(compile_model(mesh, model, report, error)) << error;
    EXPECT_GT(report.piecesCut, 0);
    EXPECT_LE(report.mostVertices, kMaxPolygonVertices);
    EXPECT_EQ(model.nodes.size(), model.polygons.size());
    EXPECT_TRUE(check_bsp_tree(model).empty()) << check_bsp_tree(model).front();
    EXPECT_TRUE(check_t_junctions(model).empty()) << check_t_junctions(model).front();
    // The pieces cover the floor once: their areas add up to it.
    double area = 0.0;
    for (const ModelPolygon& polygon : model.polygons) {
        std::vector<Point3> corners;
        for (const int p : polygon.points) corners.push_back(model.points[p]);
        const Point3 n = outline_normal(corners);
        if (n.y > 0.0) area += n.y / 2.0;
    }
    EXPECT_DOUBLE_EQ(area, 1200.0 * 100.0 + 120 * 100.0);
    const fs::path file = scratchFile("cut.krv");
    ASSERT_TRUE(write_model_file(file.string(), model, error)) << error;
    EXPECT_TRUE(read_back_model_file(file.string(), model, -1, error)) << error;
    fs::remove(file);
}

}  // namespace
