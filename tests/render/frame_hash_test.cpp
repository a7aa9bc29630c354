// The view rectangle, hashed over fixed views of the default mazes, must
// stay what it was when these values were recorded: speed work on the
// renderer may not move a single pixel. The game frames are drawn with every
// object slot switched off, so that the game's object table does not enter
// them; the objects are hashed on their own, placed by the test.
//
// The values hold only for the content they were taken from: the models and
// pictures of the game folder are fingerprinted, and with other content the
// tests skip, saying so, rather than fail. After a change to the default
// content (or a deliberate change to the picture) record them again: the
// failure and skip messages print the values. KRV_FRAME_HASH_GAME names
// another game folder, e.g. a copy frozen while the content is being edited.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"
#include "render/render.h"
#include "render/render_session.h"
#include "render_scenes.h"
#include "shell/game.h"

namespace {

// Taken from the content with this fingerprint.
constexpr std::uint64_t kContentFingerprint = 0xcdc0c57d66372af0ull;

const std::uint64_t kHomeHashes[] = {
    0x101de361dc8c5e54ull, 0x90bd699576da3421ull, 0x4816a521af240b62ull,
    0xcf04aebcf522d003ull, 0x7830c6c30f164230ull, 0x310afb40ee786459ull,
    0x8a5aae81ce765610ull, 0xc99de7c7153728ddull, 0xa30751645e0f864dull,
    0xb5fceda45b324ee5ull, 0x1f786b258e94f316ull, 0x2390ea46fc691bc7ull,
    0x63443cf84b622edbull, 0x0a329084116ca014ull, 0x08d75c1ba69c626full,
    0x3931d1dbbfbc36a9ull, 0x588e5ae12de20f95ull, 0xa32b542262c3a960ull,
};

constexpr std::uint64_t kObjectViewsHash = 0xc9208f493b1d81abull;
constexpr std::uint64_t kFloorViewsHash = 0x6c416b8bbe23d4c8ull;

struct HashedView {
    ViewPose pose;
    int look = 0;
    std::uint64_t hash = 0;
};

// FNV-1a over the rectangle the renderer may paint (10..629 x 10..399).
std::uint64_t viewHash(const std::uint8_t* page) {
    std::uint64_t h = 14695981039346656037ull;
    for (int y = 10; y < 400; ++y) {
        for (int x = 10; x < 630; ++x) {
            h = (h ^ page[y * kScreenWidth + x]) * 1099511628211ull;
        }
    }
    return h;
}

std::string hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%016" PRIx64 "ull", value);
    return text;
}

std::string gameFolder() {
    const char* folder = std::getenv("KRV_FRAME_HASH_GAME");
    return folder && *folder ? folder : KRV_GAME_DIR;
}

// FNV-1a over the names and bytes of every model and picture, in name order.
std::uint64_t contentFingerprint(const std::filesystem::path& game) {
    std::vector<std::filesystem::path> files;
    for (const char* folder : {"Objects", "Pics"}) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(game / folder, ec)) {
            if (entry.is_regular_file()) files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::uint64_t h = 14695981039346656037ull;
    auto add = [&](unsigned char byte) { h = (h ^ byte) * 1099511628211ull; };
    for (const auto& file : files) {
        for (char c : file.filename().string()) add(static_cast<unsigned char>(c));
        std::ifstream in(file, std::ios::binary);
        for (std::istreambuf_iterator<char> it(in), end; it != end; ++it) {
            add(static_cast<unsigned char>(*it));
        }
    }
    return h;
}

// Skips (returns false) unless the game folder holds the recorded content.
bool recordedContent(std::string& why) {
    const std::filesystem::path game = gameFolder();
    if (!std::filesystem::exists(game / "Objects" / "krv1.krv")) {
        why = "the game folder has no default mazes";
        return false;
    }
    const std::uint64_t fingerprint = contentFingerprint(game);
    if (fingerprint != kContentFingerprint) {
        why = "the content differs from the one the hashes were taken from (fingerprint " +
              hex(fingerprint) + "); record them again";
        return false;
    }
    return true;
}

void switchObjectsOff() {
    World& world = game().world;
    for (Slot& slot : world.objectSlots) slot.active = 0;
}

// Per maze: the start position looking four ways and tilted both ways.
std::vector<HashedView> homeViews(const RenderSession& session) {
    const int turns[] = {0, 90, 180, 270, 45, 225};
    const int looks[] = {0, 0, 0, 0, 20, -20};
    std::vector<HashedView> views;
    for (int maze = 0; maze < session.mazeCount(); ++maze) {
        if (!session.hasMaze(maze)) continue;
        for (int i = 0; i < 6; ++i) {
            views.push_back({{maze, session.mazeHome(maze), turns[i]}, looks[i], 0});
        }
    }
    return views;
}

}  // namespace

TEST(FrameHash, StartViewsOfTheDefaultMazesAreUnchanged) {
    std::string why;
    if (!recordedContent(why)) GTEST_SKIP() << why;
    RenderSession session(gameFolder());
    switchObjectsOff();
    std::vector<HashedView> views = homeViews(session);
    std::string table;
    for (HashedView& view : views) {
        session.placeView(view.pose.maze, view.pose.eye, view.pose.turn, view.look);
        session.drawFrame();
        view.hash = viewHash(session.page());
        table += "    " + hex(view.hash) + ",\n";
    }
    ASSERT_EQ(views.size(), std::size(kHomeHashes)) << "recorded:\n" << table;
    for (std::size_t i = 0; i < views.size(); ++i) {
        EXPECT_EQ(views[i].hash, kHomeHashes[i])
            << "maze " << views[i].pose.maze << " turn " << views[i].pose.turn << " look "
            << views[i].look << "\nrecorded:\n"
            << table;
    }
}

TEST(FrameHash, BenchViewsOfTheDefaultMazesAreUnchanged) {
    std::string why;
    if (!recordedContent(why)) GTEST_SKIP() << why;
    RenderSession session(gameFolder());
    switchObjectsOff();
    // All 80 bench views of each maze, folded into one value.
    std::uint64_t combined = 0;
    for (const ViewPose& pose : floorPoses(session, 80)) {
        session.placeView(pose.maze, pose.eye, pose.turn, 0);
        session.drawFrame();
        combined = combined * 31 + viewHash(session.page());
    }
    EXPECT_EQ(combined, kFloorViewsHash) << "recorded: " << hex(combined);
}

// The default object models stand in a fan in front of each maze's start,
// turned differently, some near, some far, some likely behind walls: the
// depth-tested path against the maze's depth and against each other.
TEST(FrameHash, ObjectsInTheDefaultMazesAreUnchanged) {
    std::string why;
    if (!recordedContent(why)) GTEST_SKIP() << why;
    RenderSession session(gameFolder());
    TextureList list;
    std::vector<std::unique_ptr<Model>> models;
    for (const char* name : {"chest", "crystal", "globe", "lantern", "statue"}) {
        models.push_back(std::make_unique<Model>(std::string("Objects\\") + name + ".krv", list, -1,
                                                 Vec3{}));
        ASSERT_TRUE(models.back()->loaded) << models.back()->loadError.describe();
    }
    list.loadBitmaps();
    for (auto& model : models) model->resolveFaceBitmaps();

    constexpr int kCount = 10;
    SceneWorld scene;
    for (int i = 0; i < kCount; ++i) {
        Matrix3 orientation = Matrix3::identity();
        orientation.rotateY(i * 37 % 360);
        scene.addObject(models[i % models.size()].get(), Vec3{}, true, 0, orientation);
    }
    World& world = scene.world;
    Renderer renderer;
    std::vector<std::uint8_t> page(kScreenPixels);
    std::uint64_t combined = 0;
    int viewsShowingObjects = 0;
    for (int maze = 0; maze < session.mazeCount(); ++maze) {
        Model* mazeModel = game().world.mazeModel(maze);
        if (!mazeModel) continue;
        const Vec3 home = session.mazeHome(maze);
        // Two rings around the start, the near one inside most rooms, the
        // far one mostly behind walls.
        for (int i = 0; i < kCount; ++i) {
            const int angle = i * 36;
            const float radius = i % 2 == 0 ? 110.0f : 400.0f;
            world.objectSlots[i].position.set(home.x + radius * cosTable[angle], home.y - 20.0f,
                                              home.z + radius * sinTable[angle]);
            world.objectSlots[i].mazeIndex = maze;
        }
        for (int turn = 0; turn < 360; turn += 30) {
            session.placeView(maze, home, turn, turn % 60 == 0 ? 0 : -10);
            const Camera camera{game().view.orientation, game().view.position};
            std::fill(page.begin(), page.end(), 0);
            renderer.beginFrame(page.data());
            scene.setMaze(mazeModel, maze);
            world.objectCount = kCount;
            renderWorld(renderer, world, camera);
            const std::uint64_t withObjects = viewHash(page.data());
            combined = combined * 31 + withObjects;

            renderer.beginFrame(page.data());
            world.objectCount = 0;
            renderWorld(renderer, world, camera);
            if (viewHash(page.data()) != withObjects) ++viewsShowingObjects;
        }
    }
    EXPECT_EQ(combined, kObjectViewsHash) << "recorded: " << hex(combined);
    // The hash is only worth something if objects were in the picture.
    EXPECT_GE(viewsShowingObjects, 12);
}
