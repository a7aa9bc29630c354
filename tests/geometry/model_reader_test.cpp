#include <gtest/gtest.h>

#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"
#include "support/object_files.h"

namespace {

class ModelReader : public ::testing::Test {
protected:
    void SetUp() override { buildTrigTables(); }

    // Loads text as an object file without a collision grid.
    std::unique_ptr<Model> load(std::string_view text, ModelLoadMode mode = ModelLoadMode::Check) {
        const std::string path = folder.writeObject("test.krv", text);
        return std::make_unique<Model>(path, textures, -1, Vec3{}, mode);
    }

    TempDataFolder folder;
    TextureList textures;
};

void expectTexCoord(const Vec3& t, float u, float v) {
    EXPECT_NEAR(t.x, u, 1e-3f);
    EXPECT_NEAR(t.y, v, 1e-3f);
    EXPECT_EQ(t.z, 1.0f);
}

TEST_F(ModelReader, SquareFloorExampleLoads) {
    const auto model = load(kSquareFloor);
    ASSERT_TRUE(model->loaded) << model->loadError.describe();
    EXPECT_EQ(model->pointCount, 4);
    EXPECT_EQ(model->polygonCount, 1);
    EXPECT_EQ(model->faceCount, 1);
    EXPECT_EQ(model->nodeCount, 1);
    EXPECT_EQ(model->points[3], (Vec3{100, 0, 100}));
    EXPECT_EQ(model->pointNormals[1], (Vec3{0, 1, 0}));
    EXPECT_EQ(model->pointNormals[2], (Vec3{0, 0, 0}));  // the "!!" line
    EXPECT_EQ(model->pointNormals[4], (Vec3{0, 1, 0}));

    const Face& face = model->faces[1];
    EXPECT_EQ(face.kind, SurfaceKind::Texture3);
    EXPECT_EQ(face.texture, 1);
    EXPECT_EQ(face.slopeClass, SlopeClass::FlatFloor);
    EXPECT_EQ(textures.count, 1);
    EXPECT_EQ(textures.entries[1]->path, "Pics\\brick.bmp");

    const Polygon& floor = model->polygons[1];
    ASSERT_EQ(floor.pointCount, 4);
    EXPECT_EQ(floor.face, 1);
    expectTexCoord(floor.texCoords[1], 0, 0);
    expectTexCoord(floor.texCoords[2], 256, 0);
    expectTexCoord(floor.texCoords[3], 256, 256);
    expectTexCoord(floor.texCoords[4], 0, 256);

    EXPECT_EQ(model->nodes[1].polygon, 1);
    EXPECT_EQ(model->nodes[1].fronttree, -1);
    EXPECT_EQ(model->transformedFlags.size(), 5u);
    EXPECT_EQ(model->projectedFlags.size(), 5u);
}

TEST_F(ModelReader, SectionsMayStandInAnyOrder) {
    const std::string tree =
        "#bsptree\n1: polygon 1 frontlist -1 backlist -1 fronttree -1 backtree -1\n\n";
    std::string moved = replaced(kSquareFloor, tree, "");
    moved = tree + moved;
    const auto model = load(moved);
    ASSERT_TRUE(model->loaded) << model->loadError.describe();
    EXPECT_EQ(model->nodes[1].polygon, 1);
    expectTexCoord(model->polygons[1].texCoords[3], 256, 256);
}

TEST_F(ModelReader, CountLineTakesNothingAfterTheNumber) {
    const auto trailing =
        load(replaced(kSquareFloor, "#numberOfPoints\n4\n", "#numberOfPoints\n4 \n"));
    EXPECT_FALSE(trailing->loaded);
    EXPECT_EQ(trailing->loadError.line, 2);

    const auto leading =
        load(replaced(kSquareFloor, "#numberOfPoints\n4\n", "#numberOfPoints\n 4\n"));
    EXPECT_TRUE(leading->loaded) << leading->loadError.describe();

    const auto negative =
        load(replaced(kSquareFloor, "#numberOfFaces\n1\n", "#numberOfFaces\n-1\n"));
    EXPECT_FALSE(negative->loaded);
    EXPECT_EQ(negative->loadError.line, 6);
}

TEST_F(ModelReader, CountsBeyondTheFileAreRefusedBeforeAllocating) {
    const auto model =
        load(replaced(kSquareFloor, "#numberOfPoints\n4\n", "#numberOfPoints\n2000000000\n"));
    EXPECT_FALSE(model->loaded);
    EXPECT_EQ(model->loadError.line, 2);
    EXPECT_EQ(model->points.size(), 1u);
}

TEST_F(ModelReader, PointLinesSkipTwoCharactersAfterEachNumber) {
    // The vertices are not used by the mapping, only by the coordinates.
    const auto bare = load(replaced(kSquareFloor, "100, 0, 0\n100, 0, 100", "1,2,3\n100, 0, 100"));
    ASSERT_TRUE(bare->loaded) << bare->loadError.describe();
    EXPECT_EQ(bare->points[2], (Vec3{1, 0, 0}));

    const auto blanks = load(replaced(kSquareFloor, "100, 0, 0\n100, 0, 100", "   \n100, 0, 100"));
    ASSERT_TRUE(blanks->loaded) << blanks->loadError.describe();
    EXPECT_EQ(blanks->points[2], (Vec3{0, 0, 0}));
}

TEST_F(ModelReader, ListLengthMustMatchItsCount) {
    const auto fewer = load(replaced(kSquareFloor, "0, 0, 100\n\n#polygons", "\n#polygons"));
    EXPECT_FALSE(fewer->loaded);
    EXPECT_EQ(fewer->loadError.line, 13);  // the closing empty line

    const auto more =
        load(replaced(kSquareFloor, "0, 0, 100\n\n#polygons", "0, 0, 100\n5, 5, 5\n\n#polygons"));
    EXPECT_FALSE(more->loaded);
    EXPECT_EQ(more->loadError.line, 14);  // the extra line
}

TEST_F(ModelReader, ListRunningToTheEndFailsAtTheNextSearch) {
    // Every section stands above the vertices, which end the file unclosed.
    std::string text(kSquareFloor);
    const std::string vertices = "#vertices\n0, 0, 0\n100, 0, 0\n100, 0, 100\n0, 0, 100\n\n";
    text = replaced(text, vertices, "") + "#vertices\n0, 0, 0\n100, 0, 0\n100, 0, 100\n0, 0, 100";
    const auto model = load(text);
    EXPECT_FALSE(model->loaded);
    EXPECT_NE(model->loadError.reason.find("#polygons"), std::string::npos)
        << model->loadError.reason;
}

TEST_F(ModelReader, KeywordLineMustEndWithALineFeed) {
    std::string text(kSquareFloor);
    text = replaced(text, "#pointnormals\n0, 1, 0\n!!\n0, 1, 0\n0, 1, 0\n#eof\n", "#pointnormals");
    const auto model = load(text);
    EXPECT_FALSE(model->loaded);
    EXPECT_EQ(model->loadError.line, 42);
}

TEST_F(ModelReader, PointNormalsMayEndAtTheEndOfTheFile) {
    const auto model = load(replaced(kSquareFloor, "0, 1, 0\n#eof\n", "0, 1, 0"));
    EXPECT_TRUE(model->loaded) << model->loadError.describe();
}

TEST_F(ModelReader, ColourModelNeedsOnlyTheKeywordsOfTexturesAndCorrespondences) {
    std::string text(kSquareFloor);
    text = replaced(text, "256, 256, brick, brick.bmp\n", "");
    text = replaced(text, "3, brick", "1, 187");
    text = replaced(
        text, "#correspondences\n\n0, 0, 0\n100, 0, 0\n0, 0, 100\n0, 0, 0\n1, 0, 0\n0, 1, 0\n",
        "#correspondences\ngarbage that is never read\n");
    const auto model = load(text);
    ASSERT_TRUE(model->loaded) << model->loadError.describe();
    EXPECT_EQ(model->faces[1].colour, 187);
    EXPECT_EQ(model->faces[1].texture, 0);
    EXPECT_EQ(textures.count, 0);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(model->polygons[1].texCoords[k], (Vec3{}));
}

TEST_F(ModelReader, UnknownTextureNameLoadsWithoutTexture) {
    const auto model = load(replaced(kSquareFloor, "3, brick", "3, stone"));
    ASSERT_TRUE(model->loaded) << model->loadError.describe();
    EXPECT_EQ(model->faces[1].texture, -1);
}

// Texture coordinates of the square's corners with t0, t1, t2 given for
// (0,0,0), (100,0,0), (0,0,100).
std::string withTexCoords(std::string_view t0, std::string_view t1, std::string_view t2) {
    return replaced(kSquareFloor, "0, 0, 0\n1, 0, 0\n0, 1, 0\n",
                    std::string(t0) + "\n" + std::string(t1) + "\n" + std::string(t2) + "\n");
}

TEST_F(ModelReader, NegativeCoordinatesShiftBothAxesByWholeRepetitions) {
    // Lowest u -0.5, lowest v 0.2: du = -1, dv = -1.
    const auto model = load(withTexCoords("-0.5, 0.2, 0", "0.5, 0.2, 0", "-0.5, 1.2, 0"));
    ASSERT_TRUE(model->loaded) << model->loadError.describe();
    expectTexCoord(model->polygons[1].texCoords[1], 0.5f * 256, 1.2f * 256);
    expectTexCoord(model->polygons[1].texCoords[3], 1.5f * 256, 2.2f * 256);

    // Only v negative (-2.5): du = -1, dv = -3.
    const auto onlyV = load(withTexCoords("0, -2.5, 0", "1, -2.5, 0", "0, -1.5, 0"));
    ASSERT_TRUE(onlyV->loaded) << onlyV->loadError.describe();
    expectTexCoord(onlyV->polygons[1].texCoords[1], 256, 0.5f * 256);
}

TEST_F(ModelReader, CoordinatesNearZeroSnapAndDoNotShift) {
    const auto snapped = load(withTexCoords("-0.00005, 0.00005, 0", "1, 0, 0", "0, 1, 0"));
    ASSERT_TRUE(snapped->loaded) << snapped->loadError.describe();
    EXPECT_EQ(snapped->polygons[1].texCoords[1].x, 0.0f);
    EXPECT_EQ(snapped->polygons[1].texCoords[1].y, 0.0f);

    const auto shifted = load(withTexCoords("-0.0002, 0, 0", "1, 0, 0", "0, 1, 0"));
    ASSERT_TRUE(shifted->loaded) << shifted->loadError.describe();
    EXPECT_NEAR(shifted->polygons[1].texCoords[1].x, (1 - 0.0002f) * 256, 1e-2f);
    EXPECT_NEAR(shifted->polygons[1].texCoords[1].y, 256, 1e-3f);
}

TEST_F(ModelReader, IndicesOutOfRangeFailAtTheirLine) {
    const struct {
        std::string_view from, to;
        int line;
    } cases[] = {
        {"1, 2, 3, 4\n", "1, 2, 3, 5\n", 16},  // point index
        {"1, 2, 3, 4\n", "1, 2, 0, 4\n", 16},
        {"#faces\n1\n", "#faces\n2\n", 19},  // polygon index of a face
        {"1: polygon 1 ", "1: polygon 2 ", 40},
        {"fronttree -1", "fronttree 2", 40},
        {"backlist -1", "backlist 0", 40},
        {"1: polygon 1 ", "1: polygon 99999999999 ", 40},  // beyond 32 bits
        {"fronttree -1", "fronttree -4294967297", 40},
    };
    for (const auto& c : cases) {
        const auto model = load(replaced(kSquareFloor, c.from, c.to));
        EXPECT_FALSE(model->loaded) << c.to;
        EXPECT_EQ(model->loadError.line, c.line) << c.to << ": " << model->loadError.describe();
    }
}

// No number may load as something else: a value beyond any float, or a
// coordinate so large that the grid and the camera transform overflow.
TEST_F(ModelReader, NumbersTooLargeFailAtTheirLine) {
    const struct {
        std::string_view from, to;
        int line;
    } cases[] = {
        {"100, 0, 0\n", "1e400, 0, 0\n", 11},
        {"100, 0, 0\n", "100, 0, -0.000001e400\n", 11},
        {"100, 0, 0\n", "100, 1e38, 0\n", 11},
        {"100, 0, 0\n", "1000000.5, 0, 0\n", 11},
        {"#facenormals\n0, 1, 0", "#facenormals\n0, 1e400, 0", 22},
        {"\n100, 0, 0\n0, 0, 100\n0, 0, 0", "\n100, 0, 0\n0, 0, 1e400\n0, 0, 0", 34},
    };
    for (const auto& c : cases) {
        const auto model = load(replaced(kSquareFloor, c.from, c.to));
        EXPECT_FALSE(model->loaded) << c.to;
        EXPECT_EQ(model->loadError.line, c.line) << c.to << ": " << model->loadError.describe();
    }
    // Underflow is a number too close to 0 to hold, and reads as 0.
    const auto tiny = load(replaced(kSquareFloor, "100, 0, 0\n", "100, 1e-400, 0\n"));
    ASSERT_TRUE(tiny->loaded) << tiny->loadError.describe();
    EXPECT_EQ(tiny->points[2], (Vec3{100, 0, 0}));
    const auto edge = load(replaced(kSquareFloor, "100, 0, 0\n", "100, -1000000, 0\n"));
    EXPECT_TRUE(edge->loaded) << edge->loadError.describe();
}

TEST_F(ModelReader, CollisionGridTooLargeIsRefusedBeforeAllocating) {
    const std::string path = folder.writeObject(
        "wide.krv", replaced(kSquareFloor, "100, 0, 100\n", "1000000, 0, 1000000\n"));
    const Model coarse(path, textures, 10'000, Vec3{}, ModelLoadMode::Check);
    EXPECT_TRUE(coarse.loaded) << coarse.loadError.describe();
    const Model fine(path, textures, 100, Vec3{}, ModelLoadMode::Check);
    EXPECT_FALSE(fine.loaded);
    EXPECT_NE(fine.loadError.reason.find("collision grid"), std::string::npos);
}

// A file written with CR LF line ends reads as the same file written with
// LF alone, its longest lines included.
TEST_F(ModelReader, CrLfFileWithLinesOf998CharactersLoads) {
    std::string text = replaced(kSquareFloor, "100, 0, 0\n",
                                std::string("100, 0, 0") + std::string(989, ' ') + "\n");
    std::string crlf;
    for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const auto model = load(crlf);
    ASSERT_TRUE(model->loaded) << model->loadError.describe();
    EXPECT_EQ(model->points[2], (Vec3{100, 0, 0}));
    EXPECT_EQ(model->nodes[1].polygon, 1);
    EXPECT_EQ(model->pointNormals[4], (Vec3{0, 1, 0}));
}

TEST_F(ModelReader, PolygonNamedByNoFaceFails) {
    std::string text(kSquareFloor);
    text = replaced(text, "#numberOfPolygons\n1\n", "#numberOfPolygons\n2\n");
    text = replaced(text, "1, 2, 3, 4\n\n", "1, 2, 3, 4\n1, 2, 3\n\n");
    const auto model = load(text);
    EXPECT_FALSE(model->loaded);
    EXPECT_EQ(model->loadError.line, 17);
}

TEST_F(ModelReader, TreesThatWouldLoopAreRefused) {
    std::string twoNodes(kSquareFloor);
    twoNodes = replaced(twoNodes, "#numberOfBspNodes\n1\n", "#numberOfBspNodes\n2\n");
    const std::string node1 = "1: polygon 1 frontlist -1 backlist -1 fronttree -1 backtree -1\n";

    const auto treeCycle = load(replaced(twoNodes, node1, "1: fronttree 2\n2: backtree 1\n"));
    EXPECT_FALSE(treeCycle->loaded);
    EXPECT_EQ(treeCycle->loadError.line, 40);

    const auto chainLoop =
        load(replaced(twoNodes, node1, "1: polygon 1 frontlist 2\n2: polygon 1 frontlist 2\n"));
    EXPECT_FALSE(chainLoop->loaded);
    EXPECT_EQ(chainLoop->loadError.line, 41);

    const auto emptyChainNode =
        load(replaced(twoNodes, node1, "1: polygon 1 backlist 2\n2: fronttree -1\n"));
    EXPECT_FALSE(emptyChainNode->loaded);

    const auto chain = load(replaced(twoNodes, node1, "1: polygon 1 frontlist 2\n2: polygon 1\n"));
    EXPECT_TRUE(chain->loaded) << chain->loadError.describe();
}

TEST_F(ModelReader, FailedLoadLeavesTheEmptyModel) {
    const auto model = load(replaced(kSquareFloor, "#bsptree", "#bsp"));
    EXPECT_FALSE(model->loaded);
    EXPECT_EQ(model->loadError.reason, "no #bsptree section");
    EXPECT_EQ(model->loadError.describe(), "Objects\\test.krv: no #bsptree section");
    EXPECT_EQ(model->pointCount, 0);
    EXPECT_EQ(model->polygonCount, 0);
    EXPECT_EQ(model->faceCount, 0);
    EXPECT_EQ(model->nodeCount, 0);
    EXPECT_EQ(model->collisionGrid, nullptr);
    EXPECT_EQ(model->transformedFlags.size(), 1u);

    const auto missing = std::make_unique<Model>("Objects\\none.krv", textures, 100, Vec3{});
    EXPECT_FALSE(missing->loaded);
    EXPECT_EQ(missing->nodeCount, 0);
}

const char* const kSingularBlock = "#correspondences\n\n\n\n\n\n\n\n";

TEST_F(ModelReader, SingularCorrespondenceBlockFailsTheCheck) {
    const std::string text =
        replaced(kSquareFloor,
                 "#correspondences\n\n0, 0, 0\n100, 0, 0\n0, 0, 100\n0, 0, 0\n1, 0, 0\n0, 1, 0\n",
                 kSingularBlock);
    const auto model = load(text);
    EXPECT_FALSE(model->loaded);
    EXPECT_EQ(model->loadError.line, 31);  // the block's first line
}

TEST_F(ModelReader, SingularCorrespondenceBlockEndsTheGame) {
    const std::string text =
        replaced(kSquareFloor,
                 "#correspondences\n\n0, 0, 0\n100, 0, 0\n0, 0, 100\n0, 0, 0\n1, 0, 0\n0, 1, 0\n",
                 kSingularBlock);
    EXPECT_EXIT(load(text, ModelLoadMode::Game), ::testing::ExitedWithCode(1),
                "Die Inverse kann nicht berechnet werden!");
}

}  // namespace
