// Every model the build generated: its BSP tree, cracks, the collision grid's
// load and the polygon budget, checked on the files as written; then the
// game's own reader loads each one.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/files.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"
#include "maze/bsp_builder.h"
#include "maze/model_check.h"
#include "maze/model_compiler.h"
#include "maze/model_data.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> generatedModels() {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path(KRV_GAME_DIR) / "Objects", ec)) {
        if (entry.path().extension() == ".krv") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool isMaze(const fs::path& file) {
    const std::string name = file.filename().string();
    return name == "krv1.krv" || name == "krv2.krv" || name == "krv3.krv";
}

TEST(MazeModels, AllDefaultModelsAreGenerated) {
    std::vector<std::string> names;
    for (const fs::path& file : generatedModels()) names.push_back(file.filename().string());
    for (const char* expected : {"krv1.krv", "krv2.krv", "krv3.krv", "crystal.krv", "globe.krv", "lantern.krv",
                                 "statue.krv", "chest.krv"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
    }
}

TEST(MazeModels, EveryTreeHoldsEveryPolygonOnceOnItsSide) {
    for (const fs::path& file : generatedModels()) {
        ModelData model;
        std::string error;
        ASSERT_TRUE(read_model_file(file.string(), model, error)) << error;
        const std::vector<std::string> problems = check_bsp_tree(model);
        EXPECT_TRUE(problems.empty()) << file << ": " << problems.front();
        const std::vector<std::string> cracks = check_t_junctions(model);
        EXPECT_TRUE(cracks.empty()) << file << ": " << cracks.front();
        EXPECT_EQ(model.nodes.size(), model.polygons.size()) << file;
    }
}

TEST(MazeModels, MazesKeepToTheBudgetAndTheGridLimit) {
    for (const fs::path& file : generatedModels()) {
        if (!isMaze(file)) continue;
        ModelData model;
        std::string error;
        ASSERT_TRUE(read_model_file(file.string(), model, error)) << error;
        EXPECT_LE(model.polygons.size(), 1500u) << file;
        EXPECT_LE(collision_grid_load(model, 100).maxEntries, 50) << file;
        for (const ModelFace& face : model.faces) EXPECT_TRUE(face.surface.textured()) << file;
    }
}

TEST(MazeModels, ObjectsFitTheirCubeAndStandOnTheFloor) {
    for (const fs::path& file : generatedModels()) {
        if (isMaze(file)) continue;
        ModelData model;
        std::string error;
        ASSERT_TRUE(read_model_file(file.string(), model, error)) << error;
        double low = 1e9;
        for (const Point3& p : model.points) {
            EXPECT_LE(std::fabs(p.x), 50.0) << file;
            EXPECT_LE(std::fabs(p.z), 50.0) << file;
            EXPECT_LE(p.y, 100.0) << file;
            low = std::min(low, p.y);
        }
        EXPECT_EQ(low, 0.0) << file;
    }
}

// The game's reader, with its collision grid, accepts every generated file.
TEST(MazeModels, TheGameLoadsEveryModel) {
    buildTrigTables();
    const std::string savedRoot = fw_data_root();
    fw_set_data_root(KRV_GAME_DIR);
    TextureList textures;
    for (const fs::path& file : generatedModels()) {
        const std::string gamePath = "Objects\\" + file.filename().string();
        Model model(gamePath, textures, isMaze(file) ? 100 : 50, Vec3{790.0f, 40.0f, -105.0f}, ModelLoadMode::Check);
        EXPECT_TRUE(model.loaded) << model.loadError.describe();
        EXPECT_GT(model.polygonCount, 0) << gamePath;
        for (int f = 1; f <= model.faceCount; ++f) EXPECT_NE(model.faces[f].texture, -1) << gamePath << " face " << f;
    }
    fw_set_data_root(savedRoot);
}

// The validator itself must see a broken tree.
TEST(MazeModels, TheValidatorFindsBrokenTrees) {
    Mesh mesh;
    const int s = mesh.addSurface(Surface{});
    // Two rooms' floors at different heights and a wall between them.
    mesh.addPolygonFacing({{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, {0, 1, 0}, s);
    mesh.addPolygonFacing({{100, 20, 0}, {200, 20, 0}, {200, 20, 100}, {100, 20, 100}}, {0, 1, 0}, s);
    mesh.addPolygonFacing({{100, 0, 0}, {100, 20, 0}, {100, 20, 100}, {100, 0, 100}}, {-1, 0, 0}, s);
    mesh.addPolygonFacing({{-50, 10, 50}, {250, 10, 50}, {250, 60, 50}, {-50, 60, 50}}, {0, 0, 1}, s);
    ModelData model;
    CompileReport report;
    std::string error;
    ASSERT_TRUE(compile_model(mesh, model, report, error)) << error;
    EXPECT_GT(report.splits, 0);
    EXPECT_TRUE(check_bsp_tree(model).empty());

    ModelData twice = model;
    twice.nodes.push_back(ModelNode{});
    twice.nodes.back().polygon = twice.nodes[0].polygon;
    twice.nodes[twice.nodes.size() - 2].backlist = -1;
    // Reached from nowhere and naming a polygon already placed.
    EXPECT_FALSE(check_bsp_tree(twice).empty());

    ModelData swapped = model;
    std::swap(swapped.nodes[0].fronttree, swapped.nodes[0].backtree);
    if (swapped.nodes[0].fronttree != swapped.nodes[0].backtree) {
        EXPECT_FALSE(check_bsp_tree(swapped).empty());
    }

    ModelData outOfRange = model;
    outOfRange.nodes[0].fronttree = static_cast<int>(outOfRange.nodes.size());
    EXPECT_FALSE(check_bsp_tree(outOfRange).empty());

    ModelData flipped = model;
    flipped.faces[0].normal = flipped.faces[0].normal * -1.0;
    EXPECT_FALSE(check_bsp_tree(flipped).empty());
}

TEST(MazeModels, TJunctionsAreClosed) {
    Mesh mesh;
    const int s = mesh.addSurface(Surface{});
    // One long floor beside two short ones: the short floors' shared corner
    // lies inside the long floor's edge.
    mesh.addPolygonFacing({{0, 0, 0}, {200, 0, 0}, {200, 0, 100}, {0, 0, 100}}, {0, 1, 0}, s);
    mesh.addPolygonFacing({{0, 0, 100}, {100, 0, 100}, {100, 0, 200}, {0, 0, 200}}, {0, 1, 0}, s);
    mesh.addPolygonFacing({{100, 0, 100}, {200, 0, 100}, {200, 0, 200}, {100, 0, 200}}, {0, 1, 0}, s);
    ModelData before;
    CompileReport report;
    std::string error;
    ASSERT_TRUE(compile_model(mesh, before, report, error)) << error;
    EXPECT_EQ(report.tJunctionsFixed, 1);
    EXPECT_TRUE(check_t_junctions(before).empty());
    EXPECT_EQ(before.polygons[0].points.size() + before.polygons[1].points.size() + before.polygons[2].points.size(),
              13u);
}

}  // namespace
