// krvtool object refuses what the game would refuse, naming the shape line
// to change; parts that cut into each other compile.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/files.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"
#include "maze/model_compiler.h"
#include "objects/object_faults.h"
#include "objects/object_source.h"

namespace {

namespace fs = std::filesystem;

class ObjectFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("krv_object_faults_" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    // Compiles the shape; the error, or empty when it compiled.
    std::string compile(const std::string& shape) {
        const fs::path source = folder_ / "vase.shape";
        std::ofstream(source, std::ios::binary) << shape;
        std::string error;
        if (compile_object_file(source.string(), model().string(), false, error)) return {};
        return error.empty() ? "failed without a message" : error;
    }
    fs::path model() const { return folder_ / "vase.krv"; }

    fs::path folder_;
};

// The vase a teacher made: it compiled, and then the game stopped on it.
const std::string kVase =
    "object vase\n"
    "colour 5 2 1\n"
    "frustum 12 10 12 0 14\n"
    "sphere 12 8 24 38\n"
    "colour 4 1 0\n"
    "box -34 30 -3 -22 50 3\n"
    "box 22 30 -3 34 50 3\n";

TEST_F(ObjectFaultsTest, AFullCollisionCellNamesTheSphereAndHowManySidesToTry) {
    const std::string error = compile(kVase);
    const std::string source = (folder_ / "vase.shape").string();
    EXPECT_EQ(error, source + ":4: use fewer sides on the sphere at line 4 (12 now; try 9) or fewer rings: 60 floor "
                              "and ceiling faces fall in one square of the object's collision grid (x 0 to 50, z 0 "
                              "to 50), more than the 50 the game holds (it would stop with \"Couldn't finish "
                              "creation of collision detection data structure\"); the sphere at line 4 adds 51 of "
                              "them, the frustum at line 3 adds 7, the box at line 7 adds 2");
    EXPECT_FALSE(fs::exists(model()));

    // The advice is enough, and the game loads the result with its grid.
    std::string nine = kVase;
    nine.replace(nine.find("sphere 12"), 9, "sphere 9");
    ASSERT_EQ(compile(nine), "");
    buildTrigTables();
    const std::string saved = fw_data_root();
    fw_set_data_root("");
    TextureList textures;
    const Model loaded(model().string(), textures, kObjectGridCell, Vec3{}, ModelLoadMode::Check);
    fw_set_data_root(saved);
    EXPECT_TRUE(loaded.loaded) << loaded.loadError.describe();
}

// The model check's verdict on a shape, before any limit of the game.
std::string modelFaults(const std::string& shape) {
    Mesh mesh;
    std::string name, error;
    if (!build_object_mesh(shape, "t.shape", mesh, name, error)) return error;
    ModelData model;
    CompileReport report;
    return compile_model(std::move(mesh), model, report, error) ? "" : error;
}

TEST_F(ObjectFaultsTest, AFullCellOfManySmallPartsSaysWhere) {
    std::string stack = "object stack\ncolour 3 3 3\n";
    for (int i = 0; i < 26; ++i) {
        stack += "box -5 " + std::to_string(i * 3) + " -5 5 " + std::to_string(i * 3 + 2) + " 5\n";
    }
    const std::string error = compile(stack);
    EXPECT_EQ(error.rfind((folder_ / "vase.shape").string() +
                              ":3: use fewer parts over the square x -50 to 0, z -50 to 0 (26 add to it): 52 floor",
                          0),
              0u)
        << error;
}

TEST_F(ObjectFaultsTest, PartsCuttingEachOtherAtFlatAnglesCompile) {
    // Two spheres crossing leave slivers thinner than the plane tolerance
    // in another plane; a prism cut by a frustum's slope leaves corners
    // bent back by a thousandth. Both once failed the model check.
    EXPECT_EQ(modelFaults("object t\ncolour 5 2 1\nprism 8 20 0 6\nsphere 8 6 10 37\nsphere 12 8 12 54\n"), "");
    EXPECT_EQ(compile("object t\ncolour 5 2 1\nprism 8 20 0 6\nprism 11 8 31 40\nfrustum 5 12 1 33 45\n"), "");
    // The guide's apple: a stem inside the ball, a leaf through the stem.
    EXPECT_EQ(compile("object apple\ncolour 3 3 3\nprism 8 20 0 6\ncolour 5 0 0\nsphere 10 6 26 34\n"
                      "colour 2 1 0\nprism 4 3 58 70\ncolour 0 4 0\nbox 3 62 -2 16 66 2\n"),
              "");
}

TEST(ObjectCompileFault, NamesThePartsAndTheRule) {
    const std::string shape = "object t\ncolour 1 1 1\nsphere 8 6 10 37\nbox 0 0 0 5 5 5\n";
    const std::string text = object_compile_fault("t.shape", shape, {4, 3}, "polygon 4 is not convex (1 problems)");
    EXPECT_EQ(text,
              "t.shape:4: the box at line 4 and the sphere at line 3 cut into each other where their faces meet "
              "at too flat an angle to split cleanly; parts may overlap, but move or turn one by a unit or a few "
              "degrees (polygon 4 is not convex (1 problems))");
    EXPECT_EQ(object_compile_fault("t.shape", shape, {}, "node 3 is reached twice"),
              "t.shape: node 3 is reached twice");
}

}  // namespace
