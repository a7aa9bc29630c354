// A plain grid maze twenty times the size of a default one, the kind a
// teacher draws with a script: it compiles, no line of its model is longer
// than the game reads, the game's reader loads it with its collision grid,
// and the running game walks a few hundred steps through it with the eye on
// the floor and no crack in the view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "collision/collision.h"
#include "framework/files.h"
#include "framework/framework.h"
#include "framework/headless/headless.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"
#include "maze/maze_compile.h"
#include "maze/model_data.h"
#include "render/clipping.h"
#include "render/projection.h"
#include "render/span_buffer.h"
#include "shell/game.h"
#include "shell/shell.h"
#include "support/headless_game.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCells = 121;
constexpr float kStep = 8.0f;

// One-cell pillars every third row and column, so the corridors between
// them are two cells wide; walls all round. The home point (790, -105) is
// the corner of the four open cells at rows and columns 1 and 2.
std::string gridMazeSource(int cells) {
    std::string text =
        "maze \"Grid\"\ncell 50\norigin 690 -205\nhome 790 40 -105\nskirting 20 20 plinth\nscale 128\n"
        "legend\n# solid walls brick\n. floor 0 ceiling 140 ground tiles roof plaster walls brick\nend\nmap\n";
    for (int row = 0; row < cells; ++row) {
        for (int column = 0; column < cells; ++column) {
            const bool border = row == 0 || column == 0 || row == cells - 1 || column == cells - 1;
            text += border || (row % 3 == 0 && column % 3 == 0) ? '#' : '.';
        }
        text += '\n';
    }
    return text + "end\n";
}

// A copy of the built game whose first maze is the grid, the other two
// mazes copied and the pictures, fonts and sounds linked. Its logic file
// names a start point per maze and no object, so that the default quiz's
// content does not enter the test.
class GridGame : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = fs::temp_directory_path() / ("krv_grid_game_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "Objects");
        for (const char* data : {"Pics", "Fonts", "Wavs"}) {
            fs::create_directory_symlink(fs::path(KRV_GAME_DIR) / data, folder_ / data);
        }
        for (const char* maze : {"krv2.krv", "krv3.krv"}) {
            fs::copy_file(fs::path(KRV_GAME_DIR) / "Objects" / maze, folder_ / "Objects" / maze);
        }
        fs::create_directories(folder_ / "Data");
        std::ofstream(folder_ / "Data" / "krv.lgk", std::ios::binary)
            << "B 0\n790\n40\n-105\nB 1\n790\n40\n-105\nB 2\n790\n40\n-105\n";
        const fs::path source = folder_ / "grid.maze";
        std::ofstream(source, std::ios::binary) << gridMazeSource(kCells);
        compiled_ = compile_maze_file(source.string(), (folder_ / "Objects" / "krv1.krv").string(), "", false,
                                      compileError_);
    }
    static void TearDownTestSuite() { fs::remove_all(folder_); }

    void SetUp() override { ASSERT_TRUE(compiled_) << compileError_; }

    static fs::path folder_;
    static bool compiled_;
    static std::string compileError_;
};

fs::path GridGame::folder_;
bool GridGame::compiled_ = false;
std::string GridGame::compileError_;

TEST_F(GridGame, EveryLineIsReadWholeAndTheGameLoadsIt) {
    std::ifstream file(folder_ / "Objects" / "krv1.krv", std::ios::binary);
    std::size_t longest = 0;
    for (std::string line; std::getline(file, line);) longest = std::max(longest, line.size());
    EXPECT_LE(longest, kMaxModelLine);

    buildTrigTables();
    const std::string savedRoot = fw_data_root();
    fw_set_data_root(folder_.string());
    TextureList textures;
    const Model maze("Objects\\krv1.krv", textures, kMazeGridCell, Vec3{790.0f, 40.0f, -105.0f},
                     ModelLoadMode::Check);
    fw_set_data_root(savedRoot);
    ASSERT_TRUE(maze.loaded) << maze.loadError.describe();
    EXPECT_GT(maze.polygonCount, 20000);
    ASSERT_NE(maze.collisionGrid, nullptr);
    // Every point of every corridor has its floor under it, also far out.
    float floorDist = 0.0f;
    float ceilingDist = 0.0f;
    const float farEast = 690.0f + 50.0f * (kCells - 2) - 25.0f;
    EXPECT_TRUE(queryHeights(*maze.collisionGrid, farEast, 0.0f, -105.0f, floorDist, ceilingDist));
    EXPECT_FLOAT_EQ(floorDist, 0.0f);
}

// The game draws nothing farther ahead than its far plane, and the grid's
// corridors run 6000 units straight: at their far end the background shows
// (the compiler warns of it). Seen level from 40 above the floor under a
// ceiling of 140, what lies beyond the plane fills a band of rows about the
// horizon; a crack shows anywhere. Rows are stretched by 1.6 in the view.
constexpr float kHorizonRow = kViewOriginY + kViewHeight / 2.0f;
constexpr float kRowsPerUnit = kViewHeight / 2.0f * 1.6f / kFarZ;
constexpr int kFarBandTop = static_cast<int>(kHorizonRow - kRowsPerUnit * (140.0f - 40.0f));
constexpr int kFarBandBottom = static_cast<int>(kHorizonRow + kRowsPerUnit * 40.0f) + 1;

// Where the running game's eye is after each loop iteration, and how much
// of the 3D view its frame left to no maze polygon outside the far band.
struct Step {
    Vec3 eye;
    int unpainted = 0;
    int holeX = 0;  // the first unpainted pixel
    int holeY = 0;
};

class TracingBackend : public HeadlessBackend {
public:
    std::vector<Step> steps;

    void endIteration() override {
        if (game_exists()) {
            const Game& g = game();
            Step step{g.view.position};
            for (int y = 10; y <= 399; ++y) {
                if (y >= kFarBandTop && y <= kFarBandBottom) continue;
                const SpanLine& line = g.renderer.spanBuffer.line(y);
                for (int i = line.head; i != -1; i = line.spans[i].next) {
                    const int last = std::min<int>(line.spans[i].last, kViewRight);
                    if (last < line.spans[i].first) continue;
                    if (step.unpainted == 0) step = {step.eye, 0, line.spans[i].first, y};
                    step.unpainted += last - line.spans[i].first + 1;
                }
            }
            steps.push_back(step);
        }
        HeadlessBackend::endIteration();
    }
};

// East along the northern corridor for 150 steps, then south down a column
// corridor for 100; each turn is six iterations of 15 degrees.
TEST_F(GridGame, TheGameWalksFarIntoItWithNoCrackInTheView) {
    constexpr int kEastFrom = 6;
    constexpr int kEastSteps = 150;
    constexpr int kTurnSouth = kEastFrom + kEastSteps;
    constexpr int kSouthFrom = kTurnSouth + 6;
    constexpr int kSouthSteps = 100;
    const std::vector<HeadlessBackend::KeyAction> keys = {
        {0, true, scan::kRight},        {kEastFrom, false, scan::kRight}, {kEastFrom, true, scan::kUp},
        {kTurnSouth, false, scan::kUp}, {kTurnSouth, true, scan::kRight}, {kSouthFrom, false, scan::kRight},
        {kSouthFrom, true, scan::kUp},  {kSouthFrom + kSouthSteps, false, scan::kUp},
    };
    TracingBackend backend;
    backend.reset();
    backend.setScript(keys);
    backend.setIterationLimit(kSouthFrom + kSouthSteps + 1);
    playWholeGame(backend, folder_.string());

    const std::vector<Step>& walk = backend.steps;
    ASSERT_EQ(walk.size(), static_cast<std::size_t>(kSouthFrom + kSouthSteps + 1));
    int holeyFrames = 0;
    for (std::size_t i = 1; i < walk.size(); ++i) {
        SCOPED_TRACE("iteration " + std::to_string(i));
        EXPECT_FLOAT_EQ(walk[i].eye.y, 40.0f);
        const bool walking = (i >= kEastFrom && i < kTurnSouth) || (i >= kSouthFrom && i < kSouthFrom + kSouthSteps);
        if (walking) {
            // Nothing in a corridor stops a step.
            const float dx = walk[i].eye.x - walk[i - 1].eye.x;
            const float dz = walk[i].eye.z - walk[i - 1].eye.z;
            EXPECT_NEAR(std::sqrt(dx * dx + dz * dz), kStep, 1e-3f);
        }
        if (walk[i].unpainted > 0 && ++holeyFrames <= 3) {
            ADD_FAILURE() << walk[i].unpainted << " pixels of the view show no maze, the first at ("
                          << walk[i].holeX << ", " << walk[i].holeY << ")";
        }
    }
    EXPECT_EQ(holeyFrames, 0);
    const Vec3 end = walk.back().eye;
    EXPECT_NEAR(end.x, 790.0f + kStep * kEastSteps, 1.0f);
    EXPECT_NEAR(end.z, -105.0f + kStep * kSouthSteps, 1.0f);
}

}  // namespace
