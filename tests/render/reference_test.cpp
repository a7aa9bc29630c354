// The fast path against a brute-force reference that neither trusts the BSP
// order nor uses the span buffer: every face shows a colour of its own, so
// any polygon drawn in the wrong order or painted over shows up as a patch
// of wrong pixels. Only pixels within two of an edge may differ (the fast
// path snaps vertices to whole pixels and edges to truncated x), and at most
// 1% of the view.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "framework/files.h"
#include "geometry/trig.h"
#include "render/render.h"
#include "render_scenes.h"

namespace {

constexpr int kViewPixels = 620 * 390;

struct Pose {
    Vec3 eye;
    int turn;
    int look;
};

class RenderReference : public ::testing::Test {
protected:
    void SetUp() override { buildTrigTables(); }

    // Draws the room and the objects both ways and compares.
    ImageDifference renderBoth(const Camera& camera, SceneWorld& scene) {
        std::vector<std::uint8_t> page(kScreenPixels, 0);
        renderer.beginFrame(page.data());
        scene.setMaze(room.get());
        renderWorld(renderer, scene.world, camera);

        ReferenceImage reference;
        reference.draw(*room, camera, Matrix3::identity(), Vec3{});
        for (int i = 0; i < scene.world.objectCount; ++i) {
            const Slot& object = scene.world.objectSlots[i];
            if (!object.active) continue;
            reference.draw(*object.model, camera, object.orientation, object.position);
        }
        lastPage = page;
        return compareWithReference(page.data(), reference);
    }

    SceneFolder folder;
    SceneTextures textures;
    std::unique_ptr<Model> room = folder.load("room.krv", roomWithPanel(), textures);
    std::unique_ptr<Model> box = folder.load("cube.krv", cube(), textures);
    Renderer renderer;
    std::vector<std::uint8_t> lastPage;
};

const Pose kPoses[] = {
    {{0, 100, -150}, 180, 0},   {{0, 100, -150}, 180, 15},  {{0, 60, 150}, 0, 0},
    {{150, 50, -100}, 210, -15}, {{-150, 150, 100}, 45, 30}, {{0, 60, -3}, 180, 0},
    {{0, 60, 2}, 0, 0},          {{100, 30, -20}, 135, 0},   {{-190, 190, -190}, 225, -30},
    {{0, 100, 0.5f}, 90, 45},
};

}  // namespace

TEST_F(RenderReference, RoomWithPanelAndObjectsMatchesBruteForce) {
    ASSERT_TRUE(room->loaded) << room->loadError.describe();
    ASSERT_TRUE(box->loaded) << box->loadError.describe();
    Matrix3 spinB = Matrix3::identity();
    spinB.rotateY(30);
    SceneWorld objects;
    objects.addObject(box.get(), {100, 40, 100});
    objects.addObject(box.get(), {-50, 40, -100}, true, 0, spinB);
    objects.addObject(box.get(), {0, 40, 60}, false);
    for (const Pose& pose : kPoses) {
        for (int extraTurn = 0; extraTurn < 360; extraTurn += 90) {
            const Camera camera = cameraAt(pose.eye, pose.turn + extraTurn - 360, pose.look);
            const ImageDifference d = renderBoth(camera, objects);
            SCOPED_TRACE(testing::Message() << "eye " << pose.eye.x << "," << pose.eye.y << ","
                                            << pose.eye.z << " turn " << pose.turn + extraTurn
                                            << " look " << pose.look);
            EXPECT_EQ(d.awayFromEdges, 0);
            EXPECT_LE(d.differing, kViewPixels / 100);
        }
    }
}

TEST_F(RenderReference, ObjectBehindThePanelIsHidden) {
    // Straight behind the panel as seen from the eye.
    SceneWorld objects;
    objects.addObject(box.get(), {0, 40, 100});
    const Camera camera = cameraAt({0, 60, -150}, 180, 0);
    const ImageDifference d = renderBoth(camera, objects);
    EXPECT_EQ(d.awayFromEdges, 0);
    for (int y = 10; y < 400; ++y) {
        for (int x = 10; x < 630; ++x) {
            const int value = lastPage[y * kScreenWidth + x];
            ASSERT_FALSE(value >= 20 && value <= 25) << "object pixel at " << x << "," << y;
        }
    }
}

// clear() zeroes only what the rasterizers marked as written: after frames
// with objects near and far, every entry must be back to 0.
TEST_F(RenderReference, DepthClearLeavesNothingBehind) {
    SceneWorld objects;
    objects.addObject(box.get(), {100, 40, 100});
    objects.addObject(box.get(), {0, 40, -120});
    for (const Pose& pose : kPoses) {
        renderBoth(cameraAt(pose.eye, pose.turn, pose.look), objects);
        renderer.depthBuffer.clear();
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                ASSERT_EQ(renderer.depthBuffer.at(x, y), 0.0f) << x << "," << y;
            }
        }
    }
}

TEST_F(RenderReference, DefaultMazesMatchBruteForce) {
    const std::filesystem::path game = KRV_GAME_DIR;
    ASSERT_TRUE(std::filesystem::exists(game / "Objects" / "krv1.krv")) << "the game folder has no default mazes";
    fw_set_data_root(game.string());
    TextureList list;
    SceneTextures faceColours;
    const char* const mazes[] = {"Objects\\krv1.krv", "Objects\\krv2.krv", "Objects\\krv3.krv"};
    for (const char* name : mazes) {
        Model maze(name, list, -1, Vec3{});
        ASSERT_TRUE(maze.loaded) << maze.loadError.describe();
        // Every face its own value (1..200, repeating) so that order errors
        // show; colour faces get textures too, because a colour face in the
        // maze does not hide textured faces behind it.
        for (int f = 1; f <= maze.faceCount; ++f) {
            maze.faces[f].kind = SurfaceKind::Texture3;
            maze.faces[f].bitmap = faceColours.uniform(1 + (f - 1) % 200);
        }
        float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
        for (int i = 1; i <= maze.pointCount; ++i) {
            minX = std::min(minX, maze.points[i].x);
            maxX = std::max(maxX, maze.points[i].x);
            minZ = std::min(minZ, maze.points[i].z);
            maxZ = std::max(maxZ, maze.points[i].z);
        }
        for (int turn = 0; turn < 360; turn += 45) {
            const Camera camera = cameraAt({(minX + maxX) / 2, 40, (minZ + maxZ) / 2}, turn - 180, 0);
            std::vector<std::uint8_t> page(kScreenPixels, 0);
            renderer.beginFrame(page.data());
            renderModel(renderer, maze, camera, Matrix3::identity(), Vec3{}, RenderMode::Maze);
            ReferenceImage reference;
            reference.draw(maze, camera, Matrix3::identity(), Vec3{});
            const ImageDifference d = compareWithReference(page.data(), reference);
            SCOPED_TRACE(testing::Message() << name << " turn " << turn);
            EXPECT_LE(d.awayFromEdges, kViewPixels / 1000);
            EXPECT_LE(d.differing, kViewPixels / 50);
        }
    }
}
