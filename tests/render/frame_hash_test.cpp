// The view rectangle, hashed over fixed views of the default mazes, must
// stay what it was when these values were recorded: speed work on the
// renderer may not move a single pixel. The game frames are drawn with every
// object slot switched off, so that the game's object table does not enter
// them; the objects are hashed on their own, placed by the test.
//
// The values (frame_hashes.txt beside this file) hold for the files these
// frames draw: the three mazes, the five objects placed here, the textures
// they name and the background. Those files are fingerprinted; other content
// (questions, the logic file, further objects and pictures) may change
// freely. When a fingerprint or a hash differs the tests fail and print the
// command that records the values again, to be run once someone has looked
// at the pictures (krvtool shot). KRV_FRAME_HASH_GAME names another game
// folder, e.g. a copy frozen while the content is being edited.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/files.h"
#include "framework/framework.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"
#include "render/render.h"
#include "render/render_session.h"
#include "render_scenes.h"
#include "shell/game.h"

namespace {

constexpr const char* kMazes[] = {"krv1", "krv2", "krv3"};
constexpr const char* kObjects[] = {"chest", "crystal", "globe", "lantern", "statue"};

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

std::string gameFolder() {
    const char* folder = std::getenv("KRV_FRAME_HASH_GAME");
    return folder && *folder ? folder : KRV_GAME_DIR;
}

// ---- The recorded values: "name value..." lines, # comments ----------------

using Recorded = std::map<std::string, std::vector<std::uint64_t>>;

std::filesystem::path recordFile() {
    return std::filesystem::path(__FILE__).parent_path() / "frame_hashes.txt";
}

bool recording() {
    const char* record = std::getenv("KRV_FRAME_HASH_RECORD");
    return record && *record && std::string(record) != "0";
}

Recorded readRecorded() {
    Recorded values;
    std::ifstream in(recordFile());
    std::string line;
    std::string name;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        // An indented line carries on the values of the name above it.
        if (line[0] != ' ') words >> name;
        for (std::string word; words >> word;) {
            values[name].push_back(std::strtoull(word.c_str(), nullptr, 16));
        }
    }
    return values;
}

std::string hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%016" PRIx64, value);
    return text;
}

// Replaces one name's values (and the fingerprint) in the file.
void record(const std::string& name, const std::vector<std::uint64_t>& values,
            std::uint64_t fingerprint) {
    Recorded all = readRecorded();
    all[name] = values;
    all["fingerprint"] = {fingerprint};
    std::ofstream out(recordFile());
    out << "# Frame hashes of frame_hash_test.cpp, written by running it with\n"
           "# KRV_FRAME_HASH_RECORD=1 after looking at the pictures.\n";
    for (const auto& [key, list] : all) {
        out << key;
        for (const std::uint64_t value : list)
            out << (list.size() > 1 ? "\n    " : " ") << hex(value);
        out << "\n";
    }
    ASSERT_TRUE(out.good()) << "cannot write " << recordFile();
}

std::string recordCommand() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    const char* game = std::getenv("KRV_FRAME_HASH_GAME");
    return std::string(game && *game ? "KRV_FRAME_HASH_GAME=" + std::string(game) + " " : "") +
           "KRV_FRAME_HASH_RECORD=1 " + (error ? std::string("krv_tests") : self.string()) +
           " --gtest_filter='FrameHash.*'";
}

// ---- What the frames draw ------------------------------------------------

// FNV-1a over the names and bytes of the files the hashed frames draw: the
// mazes, the objects, every texture those name and the background.
std::uint64_t contentFingerprint(const std::filesystem::path& game) {
    std::vector<std::string> files = {"Pics\\border1.bmp"};
    const std::string previousRoot = fw_data_root();
    fw_set_data_root(game.string());
    TextureList list;
    auto addModel = [&](const char* name) {
        const std::string path = std::string("Objects\\") + name + ".krv";
        files.push_back(path);
        const Model model(path, list, -1, Vec3{}, ModelLoadMode::Check);
    };
    std::for_each(std::begin(kMazes), std::end(kMazes), addModel);
    std::for_each(std::begin(kObjects), std::end(kObjects), addModel);
    for (std::int32_t t = 1; t <= list.count; ++t) files.push_back(list.entries[t]->path);
    fw_set_data_root(previousRoot);

    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    std::uint64_t h = 14695981039346656037ull;
    auto add = [&](unsigned char byte) { h = (h ^ byte) * 1099511628211ull; };
    for (const std::string& file : files) {
        for (char c : file) add(static_cast<unsigned char>(c));
        std::string native = file;
        std::replace(native.begin(), native.end(), '\\', '/');
        std::ifstream in(game / native, std::ios::binary);
        if (!in) add(0);  // a missing file differs from an empty one
        for (std::istreambuf_iterator<char> it(in), end; it != end; ++it) {
            add(static_cast<unsigned char>(*it));
        }
    }
    return h;
}

// Compares (or records) one test's values. The content is checked first:
// hashes taken from other files say nothing about the renderer.
void expectRecorded(const std::string& name, const std::vector<std::uint64_t>& values,
                    const std::string& details = {}) {
    const std::uint64_t fingerprint = contentFingerprint(gameFolder());
    if (recording()) {
        record(name, values, fingerprint);
        std::printf("recorded %s in %s\n", name.c_str(), recordFile().c_str());
        return;
    }
    const Recorded recorded = readRecorded();
    const auto was = recorded.find("fingerprint");
    const std::string again =
        "\nLook at the pictures (krvtool shot), then record the values "
        "again:\n    " +
        recordCommand();
    const std::string recordedFor =
        was == recorded.end() || was->second.size() != 1 ? "none" : hex(was->second.front());
    ASSERT_EQ(hex(fingerprint), recordedFor)
        << "the mazes, objects or pictures these frames draw have changed" << again;
    const auto expected = recorded.find(name);
    ASSERT_TRUE(expected != recorded.end()) << "no values for " << name << again;
    ASSERT_EQ(values.size(), expected->second.size()) << name << again;
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(hex(values[i]), hex(expected->second[i]))
            << name << " value " << i << details << again;
    }
}

void requireGame() {
    ASSERT_TRUE(
        std::filesystem::exists(std::filesystem::path(gameFolder()) / "Objects" / "krv1.krv"))
        << gameFolder() << " holds no default mazes: build the content target";
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
    requireGame();
    RenderSession session(gameFolder());
    switchObjectsOff();
    std::vector<std::uint64_t> hashes;
    for (const HashedView& view : homeViews(session)) {
        session.placeView(view.pose.maze, view.pose.eye, view.pose.turn, view.look);
        session.drawFrame();
        hashes.push_back(viewHash(session.page()));
    }
    expectRecorded("home", hashes, " (views: per maze turns 0, 90, 180, 270, 45 up, 225 down)");
}

TEST(FrameHash, BenchViewsOfTheDefaultMazesAreUnchanged) {
    requireGame();
    RenderSession session(gameFolder());
    switchObjectsOff();
    // All 80 bench views of each maze, folded into one value.
    std::uint64_t combined = 0;
    for (const ViewPose& pose : floorPoses(session, 80)) {
        session.placeView(pose.maze, pose.eye, pose.turn, 0);
        session.drawFrame();
        combined = combined * 31 + viewHash(session.page());
    }
    expectRecorded("floor", {combined});
}

// The default object models stand in a fan in front of each maze's start,
// turned differently, some near, some far, some likely behind walls: the
// depth-tested path against the maze's depth and against each other.
TEST(FrameHash, ObjectsInTheDefaultMazesAreUnchanged) {
    requireGame();
    RenderSession session(gameFolder());
    TextureList list;
    std::vector<std::unique_ptr<Model>> models;
    for (const char* name : kObjects) {
        models.push_back(
            std::make_unique<Model>(std::string("Objects\\") + name + ".krv", list, -1, Vec3{}));
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
    expectRecorded("objects", {combined});
    // The hash is only worth something if objects were in the picture.
    EXPECT_GE(viewsShowingObjects, 12);
}
