#include "collision/move_test.h"

#include <gtest/gtest.h>

#include <cstring>

#include "collision/height_query.h"
#include "geometry/collision_grid.h"
#include "support/test_models.h"

namespace {

// The eye starts 40 above a floor at y 0 at (50, 40, 50); each test proposes
// a position over a floor of its own.
class MoveTest : public ::testing::Test {
protected:
    std::unique_ptr<Model> load(const std::vector<TestPolygon>& polygons) {
        return folder.load("move", polygons);
    }
    // Bit-for-bit: a refusal must not even round the position.
    static bool same(const Vec3& a, const Vec3& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

    TestModelFolder folder;
    Vec3 eye{50.0f, 40.0f, 50.0f};
    const Vec3 start{50.0f, 40.0f, 50.0f};
};

}  // namespace

TEST_F(MoveTest, StepOfFifteenIsClimbedAndFifteenAndAHalfIsNot) {
    auto model = load({floorRect(0, 0, 100, 100, 0), floorRect(100, 0, 200, 100, 15),
                       floorRect(200, 0, 300, 100, 30.5f)});
    ASSERT_TRUE(checkMove(*model, eye, {150, 40, 50}));
    EXPECT_FLOAT_EQ(eye.y, 55.0f);  // 40 above the step
    const Vec3 before = eye;
    EXPECT_FALSE(checkMove(*model, eye, {250, 55, 50}));
    EXPECT_TRUE(same(eye, before));
}

TEST_F(MoveTest, CeilingEightyAboveTheProbeLetsThrough) {
    auto model = load({floorRect(0, 0, 200, 100, 0), ceilingRect(0, 0, 100, 100, 80),
                       ceilingRect(100, 0, 200, 100, 79.5f)});
    EXPECT_TRUE(checkMove(*model, eye, {60, 40, 50}));
    EXPECT_FLOAT_EQ(eye.x, 60.0f);
    EXPECT_FALSE(checkMove(*model, eye, {150, 40, 50}));
    EXPECT_FLOAT_EQ(eye.x, 60.0f);
}

TEST_F(MoveTest, DropsLandAndOnlyLongFallsSetTheBumpFlag) {
    auto model = load({floorRect(0, 0, 100, 100, 0), floorRect(100, 0, 200, 100, -100),
                       floorRect(200, 0, 300, 100, -200.5f)});
    model->bumpFlag = 1;
    ASSERT_TRUE(checkMove(*model, eye, {150, 40, 50}));
    EXPECT_FLOAT_EQ(eye.y, -60.0f);
    EXPECT_EQ(model->bumpFlag, 0);
    ASSERT_TRUE(checkMove(*model, eye, {250, -60, 50}));
    EXPECT_FLOAT_EQ(eye.y, -160.5f);  // 100.5 lower
    EXPECT_EQ(model->bumpFlag, 1);
}

TEST_F(MoveTest, NearestOfTwoFloorsWins) {
    auto model = load({floorRect(0, 0, 100, 100, 12), floorRect(0, 0, 100, 100, -10)});
    ASSERT_TRUE(checkMove(*model, eye, {60, 40, 50}));
    EXPECT_FLOAT_EQ(eye.y, 30.0f);
}

TEST_F(MoveTest, SlopedFloorHeightComesFromItsPlane) {
    // Normal (0, 0.8, 0.6) through the origin: y = -0.75 z.
    auto model = load({{{{-100, 75, -100}, {-100, -75, 100}, {100, -75, 100}, {100, 75, -100}},
                        {0.0f, 0.8f, 0.6f}}});
    float floorDist = 0;
    float ceilingDist = 0;
    ASSERT_TRUE(queryHeights(*model->collisionGrid, 0, 0, 10, floorDist, ceilingDist));
    EXPECT_FLOAT_EQ(floorDist, -7.5f);
    EXPECT_EQ(ceilingDist, kNoSurface);
    Vec3 onSlope{0, 40, 0};
    ASSERT_TRUE(checkMove(*model, onSlope, {0, 40, 10}));
    EXPECT_FLOAT_EQ(onSlope.y, 32.5f);
}

TEST_F(MoveTest, RefusalsLeavePositionAndBumpFlagExactlyAsTheyWere) {
    auto model = load({floorRect(0, 0, 100, 100, 0), ceilingRect(100, 0, 200, 100, 120),
                       floorRect(200, 0, 300, 100, 0), wallRect(200, 300, 50, 0, 100),
                       wallRect(600, 700, 50, 0, 100)});  // walls widen the grid only
    model->bumpFlag = 1;
    eye = {50.3f, 40.1f, 50.7f};
    const Vec3 before = eye;
    EXPECT_FALSE(checkMove(*model, eye, {-5000, 40, 50}));  // outside the grid
    EXPECT_FALSE(checkMove(*model, eye, {150, 40, 50}));    // only a ceiling: no floor
    EXPECT_FALSE(checkMove(*model, eye, {550, 40, 50}));    // a cell with no entries
    EXPECT_TRUE(same(eye, before));
    EXPECT_EQ(model->bumpFlag, 1);
    // The wall plays no part: walking along it over the floor is fine.
    EXPECT_TRUE(checkMove(*model, eye, {250, 40, 50}));
}

TEST_F(MoveTest, PointOnAnInnerEdgeLineIsCovered) {
    // A triangle wound so that inside is the positive side: a point on its
    // first edge, which is not the closing one, gives 0 there, and 0 is
    // within the tolerance.
    auto model = load({{{{0, 0, 0}, {90, 0, 0}, {0, 0, 90}}}});
    float floorDist = 0;
    float ceilingDist = 0;
    EXPECT_TRUE(queryHeights(*model->collisionGrid, 45, 20, 0, floorDist, ceilingDist));
    EXPECT_FLOAT_EQ(floorDist, -20.0f);
    // Just outside the hypotenuse.
    EXPECT_FALSE(queryHeights(*model->collisionGrid, 50, 20, 50, floorDist, ceilingDist));
}

TEST_F(MoveTest, ModelThatFailedToLoadRefusesEveryMove) {
    Model missing("Objects\\nothere.krv", folder.textures, 100, Vec3{});
    EXPECT_FALSE(missing.loaded);
    EXPECT_FALSE(checkMove(missing, eye, {50, 40, 50}));
    EXPECT_TRUE(same(eye, start));
}
