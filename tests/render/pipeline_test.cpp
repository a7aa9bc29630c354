// The frame order around the models: spinning, the bump sound, and what a
// model that failed to load does.

#include <gtest/gtest.h>

#include <vector>

#include "geometry/trig.h"
#include "render/render.h"
#include "render_scenes.h"

TEST(RenderPipeline, OnlyActiveObjectsOfTheCurrentMazeSpin) {
    buildTrigTables();
    SceneFolder folder;
    SceneTextures textures;
    std::unique_ptr<Model> box = folder.load("cube.krv", cube(), textures);
    SceneWorld scene;
    const Slot& here = scene.addObject(box.get(), {}, true, 0);
    const Slot& elsewhere = scene.addObject(box.get(), {}, true, 1);
    const Slot& hidden = scene.addObject(box.get(), {}, false, 0);
    // A slot without a model is neither spun nor drawn either.
    const Slot& empty = scene.addObject(nullptr, {}, true, 0);
    spinObjects(scene.world);
    Matrix3 turned = Matrix3::identity();
    turned.rotateY(15);
    EXPECT_EQ(here.orientation, turned);
    EXPECT_EQ(elsewhere.orientation, Matrix3::identity());
    EXPECT_EQ(hidden.orientation, Matrix3::identity());
    EXPECT_EQ(empty.orientation, Matrix3::identity());
}

TEST(RenderPipeline, DrawingTheMazeClearsItsBumpFlag) {
    buildTrigTables();
    SceneFolder folder;
    SceneTextures textures;
    std::unique_ptr<Model> room = folder.load("room.krv", roomWithPanel(), textures);
    Renderer renderer;
    std::vector<std::uint8_t> page(kScreenPixels, 0);
    SceneWorld scene;
    scene.setMaze(room.get());
    room->bumpFlag = 1;
    const Camera camera = cameraAt({0, 100, -150}, 180, 0);
    renderer.beginFrame(page.data());
    renderWorld(renderer, scene.world, camera);
    EXPECT_EQ(room->bumpFlag, 0);
}

TEST(RenderPipeline, ModelThatFailedToLoadDrawsNothing) {
    buildTrigTables();
    SceneFolder folder;
    TextureList list;
    Model missing("Objects\\missing.krv", list, -1, Vec3{}, ModelLoadMode::Check);
    ASSERT_FALSE(missing.loaded);
    Renderer renderer;
    std::vector<std::uint8_t> page(kScreenPixels, 0);
    renderer.beginFrame(page.data());
    renderModel(renderer, missing, cameraAt({0, 0, 0}, 0, 0), Matrix3::identity(), Vec3{},
                RenderMode::Maze);
    for (std::uint8_t p : page) ASSERT_EQ(p, 0);
}

// A wall filling the view, then, further along the walk, a colour face and a
// textured face. Once the view is full the textured face cannot show and is
// passed over untransformed; colour faces are depth-tested, not held back by
// the span buffer, so they are still drawn: this one is nearer than the wall
// (out of walk order on purpose) and shows.
TEST(RenderPipeline, FullViewPassesOverTexturedMazeFacesButNotColourOnes) {
    buildTrigTables();
    SceneModel m;
    const Vec3 towardEye{0, 0, -1};
    const float big = 5000;
    const int wall = m.addQuad({-big, -big, 50}, {big, -big, 50}, {big, big, 50}, {-big, big, 50},
                               towardEye, 3, 5);
    const int colour = m.addQuad({-20, -20, 30}, {20, -20, 30}, {20, 20, 30}, {-20, 20, 30},
                                 towardEye, 0, 7);
    const int hidden = m.addQuad({-20, -20, 150}, {20, -20, 150}, {20, 20, 150}, {-20, 20, 150},
                                 towardEye, 3, 9);
    m.addNode({wall, -1, -1, -1, 2});
    m.addNode({colour, -1, -1, -1, 3});
    m.addNode({hidden, -1, -1, -1, -1});
    SceneFolder folder;
    SceneTextures textures;
    std::unique_ptr<Model> maze = folder.load("full.krv", m, textures);
    ASSERT_TRUE(maze->loaded);

    Renderer renderer;
    std::vector<std::uint8_t> page(kScreenPixels, 0);
    SceneWorld scene;
    scene.setMaze(maze.get());
    renderer.beginFrame(page.data());
    renderWorld(renderer, scene.world, cameraAt({0, 0, 0}, 180, 0));

    EXPECT_TRUE(renderer.viewFull());
    EXPECT_EQ(page[kViewArea.top * kScreenWidth + kViewArea.left], 5);  // the wall
    EXPECT_EQ(page[205 * kScreenWidth + 320], 7);                      // the colour face
    const Polygon& far = maze->polygons[hidden];
    for (int k = 1; k <= far.pointCount; ++k) {
        EXPECT_EQ(maze->transformedFlags[far.pointIndices[k]], 0) << "point " << k;
    }
}

namespace {

// A page drawn as the game draws it: the background laid around the maze by
// the renderer, or laid whole before anything else.
std::vector<std::uint8_t> drawOverBackground(Model& maze, const std::vector<std::uint8_t>& background,
                                             bool layAround) {
    Renderer renderer;
    std::vector<std::uint8_t> page(kScreenPixels, 0xEE);
    SceneWorld scene;
    scene.setMaze(&maze);
    if (layAround) {
        renderer.beginFrame(page.data(), background.data());
    } else {
        copyPage(page.data(), background.data());
        renderer.beginFrame(page.data());
    }
    renderWorld(renderer, scene.world, cameraAt({0, 0, 0}, 180, 0));
    renderer.layViewBackground();
    return page;
}

}  // namespace

// Laying the background only where the maze leaves the view free must give
// the very page that laying it first gives: for a maze of textured faces
// (the background goes in afterwards) and for one with a colour face (which
// paints without claiming pixels, so the background goes in first).
TEST(RenderPipeline, BackgroundLaidAroundTheMazeGivesTheSamePage) {
    buildTrigTables();
    std::vector<std::uint8_t> background(kScreenPixels);
    for (int i = 0; i < kScreenPixels; ++i) background[i] = static_cast<std::uint8_t>(i * 7 + i / 640);
    const Vec3 towardEye{0, 0, -1};
    for (const bool withColour : {false, true}) {
        SceneModel m;
        const int panel = m.addQuad({-30, -30, 100}, {30, -30, 100}, {30, 30, 100}, {-30, 30, 100},
                                    towardEye, 3, 5);
        // Beside the panel, where no textured face claims the pixels.
        const int patch = m.addQuad({40, 0, 60}, {50, 0, 60}, {50, 10, 60}, {40, 10, 60}, towardEye,
                                    withColour ? 0 : 3, 7);
        m.addNode({panel, -1, -1, -1, 2});
        m.addNode({patch, -1, -1, -1, -1});
        SceneFolder folder;
        SceneTextures textures;
        std::unique_ptr<Model> maze = folder.load("panel.krv", m, textures);
        ASSERT_TRUE(maze->loaded);
        const std::vector<std::uint8_t> around = drawOverBackground(*maze, background, true);
        EXPECT_EQ(around, drawOverBackground(*maze, background, false)) << "colour face " << withColour;
        const int corner = kViewArea.top * kScreenWidth + kViewArea.left;  // beside the panel
        EXPECT_EQ(around[corner], background[corner]);
        EXPECT_EQ(around[205 * kScreenWidth + 300], 5);  // the panel
        EXPECT_EQ(around[0], background[0]);             // outside the view
    }
}
