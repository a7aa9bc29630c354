#include "geometry/collision_grid.h"

#include <gtest/gtest.h>

#include "collision/height_query.h"
#include "geometry/edge_geometry.h"
#include "support/test_models.h"

namespace {

EdgeSegment segment(float ax, float az, float bx, float bz) {
    return {ax, az, bx, bz, false};
}

// "F" for CoverFull, "P" for CoverPartial, "." for an empty cell; one
// string per row, columns left to right.
std::vector<std::string> coverageMap(const CollisionGrid& grid) {
    std::vector<std::string> map;
    for (std::int32_t r = 0; r < grid.rows; ++r) {
        std::string row;
        for (std::int32_t c = 0; c < grid.columns; ++c) {
            const GridCell& cell = grid.cell(c, r);
            if (cell.count == 0)
                row += '.';
            else
                row += cell.coverage[0] == Coverage::CoverFull ? 'F' : 'P';
        }
        map.push_back(row);
    }
    return map;
}

}  // namespace

TEST(StripClipping, CutsBothEndsAndKeepsTheDirection) {
    EdgeSegment edge = segment(250.0f, 30.0f, -50.0f, 0.0f);
    clipToStrip(edge, StripAxis::X, 0.0f, 100.0f);
    ASSERT_FALSE(edge.dropped);
    EXPECT_FLOAT_EQ(edge.ax, 100.0f);
    EXPECT_FLOAT_EQ(edge.az, 15.0f);
    EXPECT_FLOAT_EQ(edge.bx, 0.0f);
    EXPECT_FLOAT_EQ(edge.bz, 5.0f);

    EdgeSegment alongZ = segment(7.0f, -100.0f, 7.0f, 300.0f);
    clipToStrip(alongZ, StripAxis::Z, 100.0f, 200.0f);
    ASSERT_FALSE(alongZ.dropped);
    EXPECT_FLOAT_EQ(alongZ.az, 100.0f);
    EXPECT_FLOAT_EQ(alongZ.bz, 200.0f);
    EXPECT_FLOAT_EQ(alongZ.ax, 7.0f);
}

TEST(StripClipping, StripIsClosedButAPointIsNotASegment) {
    // Lying on the strip's boundary: kept whole.
    EdgeSegment onBoundary = segment(100.0f, 0.0f, 100.0f, 100.0f);
    clipToStrip(onBoundary, StripAxis::X, 100.0f, 200.0f);
    EXPECT_FALSE(onBoundary.dropped);
    EXPECT_FLOAT_EQ(onBoundary.bz, 100.0f);
    // Touching the strip at one end only: a point is left, dropped.
    EdgeSegment touching = segment(0.0f, 0.0f, 100.0f, 0.0f);
    clipToStrip(touching, StripAxis::X, 100.0f, 200.0f);
    EXPECT_TRUE(touching.dropped);
}

TEST(CollisionGridBuild, BoundsAreCellMultiplesOutsideTheExtent) {
    TestModelFolder folder;
    auto model = folder.load("bounds", {floorRect(-0.5f, -150.5f, 250.0f, 100.0f, 0.0f)});
    ASSERT_TRUE(model->loaded);
    const CollisionGrid& grid = *model->collisionGrid;
    EXPECT_EQ(grid.minX, -100);
    EXPECT_EQ(grid.maxX, 300);
    EXPECT_EQ(grid.columns, 4);
    EXPECT_EQ(grid.minZ, -200);
    EXPECT_EQ(grid.maxZ, 200);
    EXPECT_EQ(grid.rows, 4);
    EXPECT_EQ(grid.cellSize, 100);
    // The upper edge itself is outside, as is anything beyond.
    EXPECT_NE(grid.cellAt(299.9f, 0.0f), nullptr);
    EXPECT_EQ(grid.cellAt(300.0f, 0.0f), nullptr);
    EXPECT_EQ(grid.cellAt(-100.5f, 0.0f), nullptr);
}

TEST(CollisionGridBuild, SquareOnGridLinesIsPartialInItsWholeRange) {
    TestModelFolder folder;
    auto model = folder.load("square", {floorRect(0.0f, 0.0f, 100.0f, 100.0f, 0.0f)});
    ASSERT_TRUE(model->loaded);
    const CollisionGrid& grid = *model->collisionGrid;
    ASSERT_EQ(grid.columns, 2);
    ASSERT_EQ(grid.rows, 2);
    // The outline lies on strip boundaries and survives clipping; the range
    // reaches into the next column and row because its end is inclusive.
    EXPECT_EQ(coverageMap(grid), (std::vector<std::string>{"PP", "PP"}));
}

TEST(CollisionGridBuild, LargeFloorIsFullInsideAndPartialOnItsOutline) {
    TestModelFolder folder;
    auto model = folder.load("block", {floorRect(0.0f, 0.0f, 300.0f, 300.0f, 0.0f)});
    ASSERT_TRUE(model->loaded);
    const CollisionGrid& grid = *model->collisionGrid;
    // Strips are closed, so the outline on x = 300 and z = 300 also crosses
    // the cells beyond it; of the 3 x 3 block only the centre is untouched.
    EXPECT_EQ(coverageMap(grid), (std::vector<std::string>{"PPPP", "PFPP", "PPPP", "PPPP"}));
    // (3, 3) meets the square only at its corner vertex: not covered.
    float floorDist = 0;
    float ceilingDist = 0;
    EXPECT_FALSE(queryHeights(grid, 350, 40, 350, floorDist, ceilingDist));

    // With the outline off the grid lines the inner 2 x 2 cells are whole.
    auto inner = folder.load("inner", {floorRect(50.0f, 50.0f, 350.0f, 350.0f, 0.0f)});
    EXPECT_EQ(coverageMap(*inner->collisionGrid),
              (std::vector<std::string>{"PPPP", "PFFP", "PFFP", "PPPP"}));
}

TEST(CollisionGridBuild, TriangleRangeCellsItMissesArePartial) {
    TestModelFolder folder;
    // Covers the lower-left half of a 300 x 300 square: cells above the
    // diagonal are untouched yet entered.
    auto model = folder.load("triangle",
                             {{{{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 290.0f}, {290.0f, 0.0f, 0.0f}}}});
    ASSERT_TRUE(model->loaded);
    const CollisionGrid& grid = *model->collisionGrid;
    EXPECT_EQ(coverageMap(grid), (std::vector<std::string>{"PPP", "PPP", "PPP"}));
    // (2, 2) lies wholly outside the triangle and still holds its entry.
    EXPECT_EQ(grid.cell(2, 2).count, 1);
}

TEST(CollisionGridBuild, WallsAreLeftOutAndEntriesSortedByFirstPointHeight) {
    TestModelFolder folder;
    auto model = folder.load("layers", {
                                           floorRect(10.0f, 10.0f, 90.0f, 90.0f, 20.0f),    // 1
                                           wallRect(10.0f, 90.0f, 50.0f, 0.0f, 60.0f),      // 2
                                           ceilingRect(10.0f, 10.0f, 90.0f, 90.0f, 90.0f),  // 3
                                           floorRect(10.0f, 10.0f, 90.0f, 90.0f, -5.0f),    // 4
                                           floorRect(10.0f, 10.0f, 90.0f, 90.0f, 20.0f),    // 5
                                       });
    ASSERT_TRUE(model->loaded);
    const GridCell& cell = model->collisionGrid->cell(0, 0);
    ASSERT_EQ(cell.count, 4);
    // Ascending height; polygon 5 goes before polygon 1 of equal height.
    EXPECT_EQ(cell.polygon[0], 4);
    EXPECT_EQ(cell.polygon[1], 5);
    EXPECT_EQ(cell.polygon[2], 1);
    EXPECT_EQ(cell.polygon[3], 3);
}

TEST(CollisionGridBuild, PolygonOnTheUpperEdgeIsClampedIntoTheGrid) {
    // The largest x is a negative multiple of the cell size, so maxX equals
    // it and the polygon's last column would lie past the grid.
    TestModelFolder folder;
    auto model = folder.load("edge", {floorRect(-250.0f, 20.0f, -200.0f, 80.0f, 0.0f)});
    ASSERT_TRUE(model->loaded);
    const CollisionGrid& grid = *model->collisionGrid;
    EXPECT_EQ(grid.minX, -300);
    EXPECT_EQ(grid.maxX, -200);
    ASSERT_EQ(grid.columns, 1);
    EXPECT_EQ(grid.cell(0, 0).count, 1);
}

TEST(CollisionGridBuild, NoCellSizeNoGrid) {
    TestModelFolder folder;
    auto model = folder.load("nogrid", {floorRect(0.0f, 0.0f, 10.0f, 10.0f, 0.0f)}, -1);
    ASSERT_TRUE(model->loaded);
    EXPECT_EQ(model->collisionGrid, nullptr);
}

TEST(CollisionGridBuildDeathTest, FiftyFirstPolygonInACellIsFatal) {
    std::vector<TestPolygon> floors;
    for (int i = 0; i < 50; ++i) floors.push_back(floorRect(10.0f, 10.0f, 90.0f, 90.0f, float(i)));
    {
        TestModelFolder folder;
        auto fifty = folder.load("fifty", floors);
        ASSERT_TRUE(fifty->loaded);
        EXPECT_EQ(fifty->collisionGrid->cell(0, 0).count, 50);
    }
    floors.push_back(floorRect(10.0f, 10.0f, 90.0f, 90.0f, 50.0f));
    EXPECT_EXIT(
        {
            TestModelFolder folder;
            folder.load("fiftyone", floors);
        },
        ::testing::ExitedWithCode(1),
        "Couldn't finish creation of collision detection data structure since too many "
        "polygons exist in one grid cell!");
}

TEST(CollisionGridBuildDeathTest, FullCellNamesTheModelFileFirst) {
    std::vector<TestPolygon> floors;
    for (int i = 0; i < 51; ++i) floors.push_back(floorRect(10.0f, 10.0f, 90.0f, 90.0f, float(i)));
    // The file, the cell and the polygon on stderr, then the game's own words.
    EXPECT_EXIT(
        {
            TestModelFolder folder;
            folder.load("crowded", floors);
        },
        ::testing::ExitedWithCode(1),
        "Objects.crowded\\.krv: more than 50 floor and ceiling polygons in one collision cell "
        "\\(the 100 by 100 square at x 0, z 0; polygon 51 is one too many\\)[^\n]*\n"
        "Couldn't finish creation of collision detection data structure");
}

TEST(CollisionGridBuild, FullCellFailsACheckLoadWithoutEnding) {
    std::vector<TestPolygon> floors;
    for (int i = 0; i < 51; ++i) floors.push_back(floorRect(10.0f, 10.0f, 40.0f, 40.0f, float(i)));
    TestModelFolder folder;
    const std::string path = folder.write("crowded", floors);
    const Model model(path, folder.textures, 50, Vec3{}, ModelLoadMode::Check);
    EXPECT_FALSE(model.loaded);
    EXPECT_EQ(model.collisionGrid, nullptr);
    EXPECT_EQ(model.loadError.describe().rfind(path + ": more than 50 floor and ceiling polygons", 0), 0u)
        << model.loadError.describe();
}
