#include "render/render_session.h"

#include "framework/files.h"
#include "geometry/model.h"
#include "geometry/trig.h"
#include "shell/frame.h"
#include "shell/game.h"
#include "shell/resources.h"

RenderSession::RenderSession(const std::string& dataDir)
    : backend_(std::make_unique<HeadlessBackend>()) {
    fw_reset();
    fw_set_data_root(dataDir);
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
    fw_use_backend(nullptr);
    fw_reset();
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
