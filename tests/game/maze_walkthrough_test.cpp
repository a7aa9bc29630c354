// Scripted walkthroughs of the three default mazes (content/walkthroughs/).
//
// Each script is played twice: by the real game on the headless backend, and
// by the movement keys alone (applyMovementKeys on a world of its own), one
// loop iteration at a time. The two must walk the same path; the second one
// also sees the bump flag, which the game's frame clears before anyone can
// look. Along the path the eye must stand 40 above a floor under a ceiling
// it fits under, climb no more than a step at a time, fall once from the
// ledge with the bump, pass through every room, be stopped where the script
// walks into a wall, level again after every look, and end at the planned
// point; and no frame of the game may leave a hole in the 3D view, where no
// maze polygon painted (a missing wall, an open seam).
//
// Maze 2 is entered in the game only through a passage of the logic file;
// its walk starts with the player put on it at its home position.

#include <gtest/gtest.h>

#include "support/headless_game.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "collision/collision.h"
#include "framework/files.h"
#include "framework/framework.h"
#include "framework/headless/headless.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"
#include "logic/world.h"
#include "render/span_buffer.h"
#include "shell/game.h"
#include "shell/game_state.h"
#include "shell/movement.h"
#include "shell/player_view.h"
#include "shell/shell.h"

namespace {

const Vec3 kHome{790.0f, 40.0f, -105.0f};

// The 3D view's pixels that a closed maze must paint: all of it, rows 10 to
// 399 and columns kViewLeft to kViewRight, the last row and column too.
constexpr int kViewTop = 10;
constexpr int kViewBottom = 399;
constexpr int kViewLastColumn = kViewRight;

// A place the walk must pass: within kNear on x and z, at this eye height.
// With `stopped`, a move key must be refused there: the script walks into
// a wall, a riser or a skirting that is too high to step onto.
struct Waypoint {
    const char* room;
    Vec3 eye;
    bool stopped = false;
};
constexpr float kNear = 12.0f;

struct WalkPlan {
    const char* script;  // in content/walkthroughs/
    int maze;            // the maze the walk is on after its first iteration
    std::vector<Waypoint> rooms;  // in the order the walk reaches them
    Vec3 end;
    float ledgeEye;  // the highest the eye gets: on the ledge it falls from
};

// Where the walks go; the coordinates are the eye's, world units.
WalkPlan hallWalk() {
    return {"krv1.keys",
            0,
            {{"vestibule", kHome},
             {"corridor", {470, 40, -105}},
             {"library, west wall", {110, 40, -105}, true},
             {"tunnel", {142, 40, -553}},
             {"hall, east wall", {1217, 40, -553}, true},
             {"foot of the stairs", {1353, 40, -329}},
             {"gallery, back wall", {1353, 180, -929}, true},
             {"gallery, west", {801, 180, -929}},
             {"hall, below the gallery", {801, 40, -513}},
             {"vestibule again", {801, 40, -105}},
             {"cellar", {1521, -20, -105}}},
            {1521, -20, -385},
            180.0f};
}

WalkPlan caveWalk() {
    return {"krv2.keys",
            1,
            {{"grotto", kHome},
             {"east tunnel", {1494, 40, -105}},
             {"shelf, back wall", {1494, 180, -929}, true},
             {"shelf, west edge", {1142, 180, -929}},
             {"cavern", {870, 40, -929}},
             {"cavern, south", {870, 40, -681}},
             {"west tunnel", {342, 40, -681}},
             {"crawl", {342, 40, -441}},
             {"chamber, south wall", {342, -20, 23}, true},
             {"crawl, east", {790, 40, -457}},
             {"grotto, south wall", {790, 40, 23}, true}},
            {790, 40, 23},
            180.0f};
}

WalkPlan cloisterWalk() {
    return {"krv3.keys",
            2,
            {{"arcade", kHome},
             {"arcade, west", {294, 40, -105}},
             {"balcony, back wall", {294, 180, -937}, true},
             {"balcony", {838, 180, -937}},
             {"court", {838, 40, -785}},
             {"dais", {838, 52, -505}},
             {"low door", {1240, 40, -505}},
             {"labyrinth", {1366, 40, -505}},
             {"labyrinth, south", {1414, 40, -329}}},
            {1510, 40, -329},
            180.0f};
}

std::string scriptPath(const char* name) {
    return (std::filesystem::path(KRV_CONTENT_SOURCE_DIR) / "walkthroughs" / name).string();
}

bool loadScript(const char* name, HeadlessBackend::KeyScript& script, std::string& error) {
    const std::string path = scriptPath(name);
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return HeadlessBackend::parseScript(text.str(), path, script, error);
}

// One loop iteration's outcome.
struct Sample {
    int maze = 0;
    Vec3 eye;
    Matrix3 orientation;
    int pitch = 0;
    int bumpFlag = 0;         // replay only: the game's frame clears it
    bool moveKeyHeld = false; // replay only
    int unpaintedPixels = 0;  // game only: view pixels no maze polygon claimed
    int widestHole = 0;       // the longest run of them on one row
    int holeX = 0;            // where that run starts
    int holeY = 0;
};

// Counts the view's pixels left free by the maze and finds the widest run.
void findHoles(const SpanBuffer& spans, Sample& s) {
    for (int y = kViewTop; y <= kViewBottom; ++y) {
        const SpanLine& line = spans.line(y);
        for (int i = line.head; i != -1; i = line.spans[i].next) {
            const int first = line.spans[i].first;
            const int last = std::min<int>(line.spans[i].last, kViewLastColumn);
            if (last < first) continue;
            s.unpaintedPixels += last - first + 1;
            if (last - first + 1 > s.widestHole) {
                s.widestHole = last - first + 1;
                s.holeX = first;
                s.holeY = y;
            }
        }
    }
}

void placeOnMaze(PlayerView& view, World& world, int maze) {
    world.currentMaze = maze;
    view.setCollider(world.mazeModel(maze));
    view.setPosition(world.mazeModel(maze)->homePosition);
}

// The headless backend that also notes, after every iteration, where the
// running game's eye is and what its frame left unpainted; and that can put
// the player on a maze before the first iteration moves anything.
class TracingBackend : public HeadlessBackend {
public:
    int startMaze = 0;
    std::vector<Sample> samples;

    bool pollEvent(BackendEvent& event) override {
        if (!placed_ && game_exists() && game().world.mazeCount > startMaze) {
            placed_ = true;
            if (startMaze != 0) placeOnMaze(game().view, game().world, startMaze);
        }
        return HeadlessBackend::pollEvent(event);
    }
    void endIteration() override {
        if (game_exists()) {
            const Game& g = game();
            Sample s;
            s.maze = g.world.currentMaze;
            s.eye = g.view.position;
            s.orientation = g.view.orientation;
            s.pitch = g.view.pitch;
            findHoles(g.renderer.spanBuffer, s);
            samples.push_back(s);
        }
        HeadlessBackend::endIteration();
    }

private:
    bool placed_ = false;
};

// Plays a script in the real game, with the built game folder as its data,
// up to and including the script's last iteration. Its shots are not taken.
std::vector<Sample> playInGame(const HeadlessBackend::KeyScript& script, int startMaze) {
    TracingBackend backend;
    backend.reset();
    backend.startMaze = startMaze;
    backend.setScript(script.actions);
    backend.setIterationLimit(script.endIteration + 1);
    playWholeGame(backend, plainGameFolder());
    return std::move(backend.samples);
}

// Plays a script on the movement keys alone: in iteration N the key actions
// of N change the held keys, then applyMovementKeys acts, as the game's
// loop does before it draws.
class KeyReplay {
public:
    KeyReplay() {
        fw_set_data_root(KRV_GAME_DIR);
        buildTrigTables();
        const char* const files[] = {"Objects\\krv1.krv", "Objects\\krv2.krv", "Objects\\krv3.krv"};
        const char* const names[] = {"MAZE", "MAZE2", "MAZE3"};
        for (int i = 0; i < 3; ++i) {
            world.addMazeSlot(names[i], files[i], Matrix3::identity(), Vec3{}, i, 100, kHome, 1);
        }
    }
    ~KeyReplay() {
        std::fill(std::begin(keyState), std::end(keyState), 0);
        fw_set_data_root("");
    }
    KeyReplay(const KeyReplay&) = delete;
    KeyReplay& operator=(const KeyReplay&) = delete;

    std::vector<Sample> play(const HeadlessBackend::KeyScript& script, int startMaze) {
        std::fill(std::begin(keyState), std::end(keyState), 0);
        placeOnMaze(view, world, startMaze);
        std::vector<HeadlessBackend::KeyAction> actions = script.actions;
        std::stable_sort(actions.begin(), actions.end(),
                         [](const auto& a, const auto& b) { return a.iteration < b.iteration; });
        std::vector<Sample> out;
        std::size_t next = 0;
        for (int iteration = 0; iteration <= script.endIteration; ++iteration) {
            for (; next < actions.size() && actions[next].iteration == iteration; ++next) {
                keyState[actions[next].scanCode] = actions[next].down ? 1 : 0;
            }
            applyMovementKeys(view, world, state);
            Model* maze = world.mazeModel(world.currentMaze);
            Sample s;
            s.maze = world.currentMaze;
            s.eye = view.position;
            s.orientation = view.orientation;
            s.pitch = view.pitch;
            s.bumpFlag = maze->bumpFlag;
            s.moveKeyHeld = keyState[scan::kUp] || keyState[scan::kDown] ||
                            keyState[scan::kHome] || keyState[scan::kPageUp];
            maze->bumpFlag = 0;  // as the frame does once it has played the bump
            out.push_back(s);
        }
        return out;
    }

    TextureList textures;
    World world{textures};
    PlayerView view;
    GameState state;
};

bool near(const Sample& s, int maze, const Vec3& eye) {
    return s.maze == maze && std::fabs(s.eye.x - eye.x) <= kNear && std::fabs(s.eye.z - eye.z) <= kNear &&
           std::fabs(s.eye.y - eye.y) < 0.01f;
}

std::string where(std::size_t iteration, const Sample& s) {
    return "iteration " + std::to_string(iteration) + ", maze " + std::to_string(s.maze) + ", eye (" +
           std::to_string(s.eye.x) + ", " + std::to_string(s.eye.y) + ", " + std::to_string(s.eye.z) + ")";
}

// Everything the walk on the movement keys must show.
void checkWalk(const WalkPlan& plan, const std::vector<Sample>& walk, World& world) {
    ASSERT_FALSE(walk.empty());
    // F, if the script switches mazes, is pressed before the walk starts.
    std::size_t first = 0;
    while (first < walk.size() && walk[first].maze != plan.maze) ++first;
    ASSERT_LT(first, walk.size()) << "the walk never gets onto maze " << plan.maze;
    int falls = 0;
    float highest = walk.front().eye.y;
    for (std::size_t i = 0; i < walk.size(); ++i) {
        const Sample& s = walk[i];
        SCOPED_TRACE(where(i, s));
        if (i >= first) {
            EXPECT_EQ(s.maze, plan.maze);
        }

        // 40 above a floor, under a ceiling with room for the head.
        const Model* maze = world.mazeModel(s.maze);
        ASSERT_NE(maze->collisionGrid, nullptr);
        float floorDist = 0.0f;
        float ceilingDist = 0.0f;
        ASSERT_TRUE(queryHeights(*maze->collisionGrid, s.eye.x, s.eye.y - kEyeHeight, s.eye.z,
                                 floorDist, ceilingDist));
        EXPECT_NEAR(floorDist, 0.0f, 1e-3f);
        EXPECT_GE(ceilingDist, kHeadRoom);

        // Level whenever the tilt is undone: the world's up axis is the
        // camera's screen-down axis again, stretched by 1.6.
        if (s.pitch == 0) {
            EXPECT_NEAR(s.orientation[3], 0.0f, 1e-4f);
            EXPECT_NEAR(s.orientation[4], -1.6f, 1e-4f);
            EXPECT_NEAR(s.orientation[5], 0.0f, 1e-4f);
        }

        highest = std::max(highest, s.eye.y);
        if (i == 0 || s.maze != walk[i - 1].maze) continue;
        const float rise = s.eye.y - walk[i - 1].eye.y;
        EXPECT_LE(rise, kStepHeight);  // stairs climb a step at a time
        const bool fell = -rise > kFallHeight;
        EXPECT_EQ(s.bumpFlag, fell ? 1 : 0);
        if (fell) {
            ++falls;
            EXPECT_GE(-rise, kFallHeight + 10.0f) << "the ledge's fall is too close to the bump's threshold";
        }
    }
    EXPECT_EQ(falls, 1) << "the walk falls from its ledge once";
    EXPECT_FLOAT_EQ(highest, plan.ledgeEye);

    // Every room, in order, and the walls the script walks into.
    std::size_t from = 0;
    for (const Waypoint& room : plan.rooms) {
        std::size_t i = from;
        while (i < walk.size() && !near(walk[i], plan.maze, room.eye)) ++i;
        ASSERT_LT(i, walk.size()) << "the walk never reaches the " << room.room;
        if (room.stopped) {
            std::size_t j = i;
            bool refused = false;
            for (; j < walk.size() && near(walk[j], plan.maze, room.eye) && !refused; ++j) {
                refused = j > 0 && walk[j].moveKeyHeld && walk[j].eye == walk[j - 1].eye;
            }
            EXPECT_TRUE(refused) << "nothing stops the walk at the " << room.room;
        }
        from = i;
    }

    const Vec3 end = walk.back().eye;
    EXPECT_NEAR(end.x, plan.end.x, kNear);
    EXPECT_FLOAT_EQ(end.y, plan.end.y);
    EXPECT_NEAR(end.z, plan.end.z, kNear);
}

void PrintTo(const WalkPlan& plan, std::ostream* out) {
    *out << plan.script;
}

std::string walkName(const ::testing::TestParamInfo<WalkPlan>& info) {
    const char* const names[] = {"Hall", "Caves", "Cloister"};
    return names[info.param.maze];
}

class MazeWalkthrough : public ::testing::TestWithParam<WalkPlan> {
protected:
    void SetUp() override {
        for (const char* maze : {"krv1.krv", "krv2.krv", "krv3.krv"}) {
            const auto path = std::filesystem::path(KRV_GAME_DIR) / "Objects" / maze;
            ASSERT_TRUE(std::filesystem::exists(path)) << "no generated maze " << path;
        }
        std::string error;
        ASSERT_TRUE(loadScript(GetParam().script, script, error)) << error;
        ASSERT_GE(script.endIteration, 0) << "the script has no end";
    }

    HeadlessBackend::KeyScript script;
};

}  // namespace

TEST_P(MazeWalkthrough, KeysWalkEveryRoomToTheEnd) {
    const WalkPlan& plan = GetParam();
    // The game starts on maze 0; F is the script's way to maze 1.
    const int startMaze = plan.maze == 2 ? 2 : 0;
    KeyReplay replay;
    const std::vector<Sample> walk = replay.play(script, startMaze);
    checkWalk(plan, walk, replay.world);
}

TEST_P(MazeWalkthrough, TheRunningGameWalksTheSamePathWithNoHoleInTheView) {
    const WalkPlan& plan = GetParam();
    const int startMaze = plan.maze == 2 ? 2 : 0;
    std::vector<Sample> walk;
    {
        KeyReplay replay;
        walk = replay.play(script, startMaze);
    }
    const std::vector<Sample> inGame = playInGame(script, startMaze);
    ASSERT_EQ(inGame.size(), walk.size());
    int holeyFrames = 0;
    for (std::size_t i = 0; i < walk.size(); ++i) {
        const Sample& frame = inGame[i];
        SCOPED_TRACE(where(i, frame));
        EXPECT_EQ(frame.maze, walk[i].maze);
        ASSERT_EQ(frame.eye, walk[i].eye) << "the game's path leaves the keys' path";
        EXPECT_EQ(frame.pitch, walk[i].pitch);
        const bool holey = frame.unpaintedPixels > 0;
        if (holey && ++holeyFrames <= 5) {
            ADD_FAILURE() << frame.unpaintedPixels << " pixels of the view show no maze; "
                          << frame.widestHole << " of them side by side at (" << frame.holeX << ", "
                          << frame.holeY << ")";
        }
    }
    EXPECT_EQ(holeyFrames, 0);
}

INSTANTIATE_TEST_SUITE_P(DefaultMazes, MazeWalkthrough,
                         ::testing::Values(hallWalk(), caveWalk(), cloisterWalk()), walkName);
