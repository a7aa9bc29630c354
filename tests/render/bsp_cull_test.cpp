// Passing over parts of a maze the picture cannot show: the points of a
// subtree behind the eye, beyond the far plane or behind a wall already laid
// are never transformed, and the page is the one the full walk gives.

#include <gtest/gtest.h>

#include <vector>

#include "geometry/trig.h"
#include "render/render.h"
#include "render_scenes.h"

namespace {

struct Drawn {
    std::vector<std::uint8_t> page = std::vector<std::uint8_t>(kScreenPixels, 0);
    std::vector<std::int32_t> transformed;
};

Drawn draw(Model& maze) {
    Drawn drawn;
    Renderer renderer;
    SceneWorld scene;
    scene.setMaze(&maze);
    renderer.beginFrame(drawn.page.data());
    renderWorld(renderer, scene.world, cameraAt({0, 0, 0}, 180, 0));
    drawn.transformed = maze.transformedFlags;
    return drawn;
}

bool anyTransformed(const Model& maze, const std::vector<std::int32_t>& flags, int polygon) {
    const Polygon& p = maze.polygons[polygon];
    for (int k = 1; k <= p.pointCount; ++k) {
        if (flags[p.pointIndices[k]]) return true;
    }
    return false;
}

}  // namespace

TEST(BspCull, SubtreesOutOfViewOrHiddenAreNotTransformedAndThePageIsTheSame) {
    buildTrigTables();
    SceneModel m;
    const Vec3 towardEye{0, 0, -1};
    const float big = 5000;
    // A wall over part of the view (textured faces only, so the hidden test
    // applies), the rest of the view left free so the walk goes on.
    const int wall = m.addQuad({-big, -big, 50}, {10, -big, 50}, {10, big, 50}, {-big, big, 50},
                               towardEye, 3, 5);
    const int behind = m.addQuad({-20, -20, -200}, {20, -20, -200}, {20, 20, -200},
                                 {-20, 20, -200}, {0, 0, 1}, 3, 6);
    const int beyond = m.addQuad({-20, -20, 3500}, {20, -20, 3500}, {20, 20, 3500},
                                 {-20, 20, 3500}, towardEye, 3, 7);
    const int hidden = m.addQuad({-100, -20, 150}, {-20, -20, 150}, {-20, 20, 150},
                                 {-100, 20, 150}, towardEye, 3, 8);
    // Walk: the wall's front subtree (behind the eye), the wall, then a
    // joining node over the far quad and the one behind the wall.
    m.addNode({wall, -1, -1, 2, 3});
    m.addNode({behind, -1, -1, -1, -1});
    m.addNode({-1, -1, -1, 4, 5});
    m.addNode({beyond, -1, -1, -1, -1});
    m.addNode({hidden, -1, -1, -1, -1});
    SceneFolder folder;
    SceneTextures textures;
    std::unique_ptr<Model> maze = folder.load("cull.krv", m, textures);
    ASSERT_TRUE(maze->loaded);

    const Drawn culled = draw(*maze);
    EXPECT_TRUE(anyTransformed(*maze, culled.transformed, wall));
    EXPECT_FALSE(anyTransformed(*maze, culled.transformed, behind));
    EXPECT_FALSE(anyTransformed(*maze, culled.transformed, beyond));
    EXPECT_FALSE(anyTransformed(*maze, culled.transformed, hidden));

    // Without bounds the walk sets up every polygon it reaches.
    maze->bspBounds = {};
    const Drawn full = draw(*maze);
    EXPECT_TRUE(anyTransformed(*maze, full.transformed, behind));
    EXPECT_TRUE(anyTransformed(*maze, full.transformed, beyond));
    EXPECT_TRUE(anyTransformed(*maze, full.transformed, hidden));
    EXPECT_EQ(culled.page, full.page);
}
