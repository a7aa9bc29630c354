#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "geometry/bsp_node.h"
#include "geometry/face.h"
#include "geometry/polygon.h"

namespace {

// The parts of a model a walk reads: polygon p is one point at height p
// on a face whose normal points up.
struct WalkModel {
    std::vector<Vec3> points;
    std::vector<Polygon> polygons;
    std::vector<Face> faces;
    std::vector<BspNode> nodes;

    explicit WalkModel(int polygonCount, int nodeCount, Vec3 normal = {0, 1, 0})
        : points(polygonCount + 1), polygons(polygonCount + 1), faces(2), nodes(nodeCount + 1) {
        faces[1].normal = normal;
        for (int p = 1; p <= polygonCount; ++p) {
            points[p] = {0, 0, 0};
            polygons[p].addPoint(p);
            polygons[p].face = 1;
        }
    }

    std::vector<int> order(const Vec3& eye) const {
        std::vector<int> visited;
        walkDrawOrder(*this, 1, eye, [&](int polygon) { visited.push_back(polygon); });
        return visited;
    }
};

const Vec3 kAbove{0, 10, 0};
const Vec3 kBelow{0, -10, 0};
const Vec3 kInPlane{5, 0, 5};

TEST(BspWalk, SingleNodeIsSeenOnlyFromItsFront) {
    WalkModel model(1, 1);
    model.nodes[1].polygon = 1;
    EXPECT_EQ(model.order(kAbove), (std::vector<int>{1}));
    EXPECT_TRUE(model.order(kBelow).empty());
    EXPECT_TRUE(model.order(kInPlane).empty());  // in the plane counts as behind
}

TEST(BspWalk, NormalLengthDoesNotChangeTheSide) {
    EXPECT_TRUE(eyeInFront({0, 0, 0}, {0, 2, 0}, kAbove));
    EXPECT_TRUE(eyeInFront({0, 0, 0}, {0, 1, 0}, kAbove));
    EXPECT_FALSE(eyeInFront({0, 0, 0}, {0, 2, 0}, kBelow));
}

TEST(BspWalk, ChainsFollowTheSideOfTheEye) {
    WalkModel model(4, 4);
    model.nodes[1].polygon = 1;
    model.nodes[1].frontlist = 2;
    model.nodes[1].backlist = 3;
    model.nodes[2].polygon = 2;
    model.nodes[3].polygon = 3;
    model.nodes[3].backlist = 4;
    model.nodes[4].polygon = 4;
    EXPECT_EQ(model.order(kAbove), (std::vector<int>{1, 2}));
    EXPECT_EQ(model.order(kBelow), (std::vector<int>{3, 4}));
}

TEST(BspWalk, NearSubtreeFirst) {
    // Node 1 (floor at 0) with node 2 in front and node 3 behind.
    WalkModel model(3, 3);
    model.nodes[1].polygon = 1;
    model.nodes[1].fronttree = 2;
    model.nodes[1].backtree = 3;
    model.nodes[2].polygon = 2;
    model.nodes[3].polygon = 3;
    model.points[2] = {0, 5, 0};
    model.points[3] = {0, -5, 0};
    EXPECT_EQ(model.order(kAbove), (std::vector<int>{2, 1, 3}));
    EXPECT_TRUE(model.order(kBelow).empty());                     // every polygon seen from behind
    EXPECT_EQ(model.order({0, 2, 0}), (std::vector<int>{1, 3}));  // 2 is seen from behind
}

TEST(BspWalk, JoiningNodeVisitsFronttreeFirst) {
    WalkModel model(2, 3);
    model.nodes[1].fronttree = 2;
    model.nodes[1].backtree = 3;
    model.nodes[2].polygon = 1;
    model.nodes[3].polygon = 2;
    EXPECT_EQ(model.order(kAbove), (std::vector<int>{1, 2}));
    model.nodes[1].backtree = -1;
    EXPECT_EQ(model.order(kAbove), (std::vector<int>{1}));
}

// A visit returning false ends the walk at once, from inside a subtree and
// from inside a chain alike, and the walk says so.
TEST(BspWalk, VisitCanEndTheWalk) {
    WalkModel model(4, 4);
    model.nodes[1].polygon = 1;
    model.nodes[1].fronttree = 2;
    model.nodes[1].backtree = 3;
    model.nodes[2].polygon = 2;
    model.nodes[3].polygon = 3;
    model.nodes[3].frontlist = 4;
    model.nodes[4].polygon = 4;
    model.points[2] = {0, 5, 0};
    model.points[3] = {0, -5, 0};
    model.points[4] = {0, -5, 0};
    for (int last = 1; last <= 4; ++last) {
        std::vector<int> visited;
        const bool finished = walkDrawOrder(model, 1, kAbove, [&](int polygon) {
            visited.push_back(polygon);
            return polygon != last;
        });
        const std::vector<int> full{2, 1, 3, 4};
        const auto end = std::find(full.begin(), full.end(), last) + 1;
        EXPECT_EQ(visited, std::vector<int>(full.begin(), end)) << "ending at " << last;
        EXPECT_FALSE(finished);
    }
    EXPECT_TRUE(walkDrawOrder(model, 1, kAbove, [](int) { return true; }));
}

}  // namespace
