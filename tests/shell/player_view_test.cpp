#include "shell/player_view.h"

#include <gtest/gtest.h>

#include "support/test_models.h"
#include "geometry/trig.h"

namespace {

class PlayerViewTest : public ::testing::Test {
protected:
    void SetUp() override { buildTrigTables(); }

    static void expectNear(const Matrix3& a, const Matrix3& b) {
        for (int i = 0; i < 9; ++i) EXPECT_NEAR(a[i], b[i], 1e-5f) << "element " << i;
    }
};

}  // namespace

TEST_F(PlayerViewTest, TurningWhileTiltedKeepsTheHorizonLevel) {
    PlayerView tilted;
    tilted.look(15);
    tilted.turn(15);
    tilted.resetLook();

    PlayerView level;
    level.turn(15);
    expectNear(tilted.orientation, level.orientation);

    // Several tilts and turns mixed, then one reset: a plain turn of the sum.
    PlayerView mixed;
    mixed.look(-15);
    mixed.turn(-15);
    mixed.look(-15);
    mixed.turn(45);
    mixed.resetLook();
    PlayerView sum;
    sum.turn(30);
    expectNear(mixed.orientation, sum.orientation);
}

TEST_F(PlayerViewTest, PitchStaysInsideTheTables) {
    PlayerView view;
    for (int i = 0; i < 24; ++i) view.look(15);
    EXPECT_EQ(view.pitch, 0);  // a whole turn is no tilt
    for (int i = 0; i < 30; ++i) view.look(-15);
    EXPECT_EQ(view.pitch, -90);
    view.turn(15);  // looks up cos/sin of the pitch
    view.resetLook();
    PlayerView level;
    level.turn(15);
    expectNear(view.orientation, level.orientation);
}

TEST_F(PlayerViewTest, StepsFollowTheLevelledLineOfSight) {
    TestModelFolder folder;
    auto floor = folder.load("floor", {floorRect(-500, -500, 500, 500, 0)});
    PlayerView view;
    view.setCollider(floor.get());
    view.setPosition({0, 40, 0});
    view.look(45);
    ASSERT_TRUE(view.moveForward(8));
    // The start orientation looks along -z; the tilt does not lift the step.
    EXPECT_NEAR(view.position.x, 0.0f, 1e-5f);
    EXPECT_FLOAT_EQ(view.position.y, 40.0f);
    EXPECT_NEAR(view.position.z, -8.0f, 1e-5f);
    ASSERT_TRUE(view.sidestep(8));
    EXPECT_NEAR(view.position.x, 8.0f, 1e-5f);

    // Off the floor: refused, nothing moved.
    view.setPosition({0, 40, -496});
    EXPECT_FALSE(view.moveForward(8));
    EXPECT_FLOAT_EQ(view.position.z, -496.0f);
}

TEST_F(PlayerViewTest, WithoutAColliderNothingWalksButFloatingDoes) {
    PlayerView view;
    const Vec3 start = view.position;
    EXPECT_TRUE(view.moveForward(8));
    EXPECT_TRUE(view.sidestep(-8));
    EXPECT_EQ(view.position, start);
    // Positive floats down, stretched by the start orientation's 1.6.
    view.moveVertical(8);
    EXPECT_FLOAT_EQ(view.position.y, start.y - 12.8f);
}
