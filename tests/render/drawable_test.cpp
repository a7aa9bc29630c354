// Which models the renderer takes up at all. Tests, tools and the fuzzer
// load models without a collision grid, which is what otherwise refuses a
// model without points.

#include <gtest/gtest.h>

#include <vector>

#include "geometry/trig.h"
#include "render/render.h"
#include "render_scenes.h"

// A loaded model with a node but no points has nothing to draw: the object
// bounds would read point 1, which does not exist. Something is put where it
// would be read, in front of the eye, so that reading it shows: the maze
// would then leave its depth there for the object.
TEST(Drawable, ModelWithoutPointsIsNeverTakenUp) {
    buildTrigTables();
    SceneFolder folder;
    SceneTextures textures;
    SceneModel empty;
    empty.addNode({});
    std::unique_ptr<Model> object = folder.load("empty.krv", empty, textures);
    ASSERT_TRUE(object->loaded) << object->loadError.describe();
    ASSERT_EQ(object->pointCount, 0);
    object->points.push_back(Vec3{0, 0, 100});

    SceneModel wall;
    const float big = 5000;
    wall.addNode({wall.addQuad({-big, -big, 200}, {big, -big, 200}, {big, big, 200},
                               {-big, big, 200}, Vec3{0, 0, -1}, 3, 5)});
    std::unique_ptr<Model> maze = folder.load("wall.krv", wall, textures);
    ASSERT_TRUE(maze->loaded) << maze->loadError.describe();

    SceneWorld scene;
    scene.setMaze(maze.get());
    scene.addObject(object.get(), Vec3{});
    Renderer renderer;
    std::vector<std::uint8_t> page(kScreenPixels, 0);
    renderer.beginFrame(page.data());
    renderWorld(renderer, scene.world, cameraAt({0, 0, 0}, 180, 0));
    EXPECT_EQ(page[240 * kScreenWidth + 320], 5);  // the wall was drawn
    EXPECT_TRUE(renderer.depthBuffer.written().empty());
}
