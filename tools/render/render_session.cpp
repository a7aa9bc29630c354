#include "render/render_session.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "framework/files.h"
#include "geometry/model.h"
#include "geometry/trig.h"
#include "logic/logic_file.h"
#include "shell/frame.h"
#include "shell/game.h"
#include "shell/resources.h"

namespace {

// A fatal error in the game ends the program through exit(), past every
// destructor: the stand-in folder is removed at exit then.
std::string& pendingStandIn() {
    static std::string path;
    return path;
}

void removeStandIn() {
    std::error_code error;
    // Removes the links, not what they name.
    if (!pendingStandIn().empty()) std::filesystem::remove_all(pendingStandIn(), error);
    pendingStandIn().clear();
}

// The game will not start without a logic file, and an author looking at a
// new maze has none yet. The stand-in folder links the data folders and
// holds empty logic and question files: a quiz of no objects, loaded by the
// game's own start-up.
std::string makeStandIn(const std::string& dataDir) {
    namespace fs = std::filesystem;
    fw_set_data_root(dataDir);
    std::error_code error;
    if (fs::exists(fw_native_path(kLogicFile), error)) return {};
    std::string pattern = (fs::temp_directory_path(error) / "krvtool-view-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return {};
    const fs::path standIn(pattern);
    const fs::path root = fs::absolute(dataDir.empty() ? fs::path(".") : fs::path(dataDir), error);
    for (const char* folder : {"Objects", "Pics", "Fonts", "Wavs"}) {
        fs::create_directory_symlink(root / folder, standIn / folder, error);
    }
    fs::create_directory(standIn / "Data", error);
    std::ofstream(standIn / "Data" / "krv.lgk");
    std::ofstream(standIn / "Data" / "krv.qry");
    // The path's string is made before the handler is registered, so that
    // it is destroyed after the handler has run.
    pendingStandIn() = standIn.string();
    static const bool registered = std::atexit(removeStandIn) == 0;
    (void)registered;
    return standIn.string();
}

}  // namespace

RenderSession::RenderSession(const std::string& dataDir)
    : backend_(std::make_unique<Backend>()), standIn_(makeStandIn(dataDir)) {
    fw_reset();
    fw_set_data_root(standIn_.empty() ? dataDir : standIn_);
    fw_use_backend(backend_.get());
    create_game();
    Game& g = game();
    g.framework = fw_init("Keravon");
    if (!g.framework) gfx_fatal_error(gfx_error_message(gfx_result()));
    ModeChoice mode;
    mode.width = kScreenWidth;
    mode.height = kScreenHeight;
    mode.bitsPerPixel = 8;
    int windowed = 1;
    if (!fw_choose_mode(&mode, &windowed) || !fw_set_mode(mode, windowed, 2, 1)) {
        gfx_fatal_error(gfx_error_message(gfx_result()));
    }
    load_resources();
    g.state.introOver = 1;
    start_game();
}

RenderSession::~RenderSession() {
    destroy_game();
    fw_use_headless_backend();
    fw_reset();
    if (!standIn_.empty()) removeStandIn();
}

int RenderSession::mazeCount() const { return game().world.mazeCount; }

bool RenderSession::hasMaze(int maze) const { return game().world.mazeModel(maze) != nullptr; }

Vec3 RenderSession::mazeHome(int maze) const {
    const Model* model = game().world.mazeModel(maze);
    return model ? model->homePosition : Vec3{};
}

void RenderSession::placeView(int maze, const Vec3& eye, int turn, int look) {
    Game& g = game();
    g.world.currentMaze = maze;
    g.view.orientation = PlayerView::initialOrientation();
    g.view.pitch = 0;
    g.view.setCollider(g.world.mazeModel(maze));
    g.view.setPosition(eye);
    g.view.turn(wrapDegrees(turn));
    g.view.look(wrapDegrees(look));
}

void RenderSession::drawFrame() { draw_game_frame(); }

std::vector<ViewPose> floorPoses(const RenderSession& session, int viewsPerMaze) {
    constexpr float kEyeHeight = 40.0f;
    std::vector<ViewPose> poses;
    for (int maze = 0; maze < session.mazeCount(); ++maze) {
        const Model* model = game().world.mazeModel(maze);
        if (!model) continue;
        std::vector<int> floors;
        for (int p = 1; p <= model->polygonCount; ++p) {
            const Polygon& polygon = model->polygons[p];
            if (polygon.pointCount < 3) continue;
            if (model->faces[polygon.face].slopeClass == SlopeClass::FlatFloor) floors.push_back(p);
        }
        if (floors.empty()) continue;
        for (int k = 0; k < viewsPerMaze; ++k) {
            const Polygon& polygon =
                model->polygons[floors[k * floors.size() / static_cast<std::size_t>(viewsPerMaze)]];
            Vec3 centre;
            for (int i = 1; i <= polygon.pointCount; ++i) {
                centre.addInPlace(model->points[polygon.pointIndices[i]]);
            }
            const float n = static_cast<float>(polygon.pointCount);
            poses.push_back({maze,
                             {centre.x / n, centre.y / n + kEyeHeight, centre.z / n},
                             (k * 45 + k / 8 * 15) % 360});
        }
    }
    return poses;
}
