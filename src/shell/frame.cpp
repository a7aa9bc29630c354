#include "shell/frame.h"

#include "framework/framework.h"
#include "geometry/model.h"
#include "render/pipeline.h"
#include "shell/game.h"
#include "shell/message_band.h"
#include "shell/world_scene.h"

const std::array<HelpLine, 11> kHelpLines = {{
    {40, "Arrow keys  : Move"},
    {60, "Alt         : Fast move"},
    {80, "Page down   : Look up"},
    {100, "Del         : Look down"},
    {120, "End         : Reset look"},
    {140, "Home        : Sidestep left"},
    {160, "Page up     : Sidestep right"},
    {180, "F10         : Exit Programm"},
    {200, "ESC         : Options"},
    {220, "Space       : View Message"},
    {240, "T           : Toggle Message / Frames per Second"},
}};

void dim_frame(std::uint8_t* pixels) {
    if (!pixels) return;
    for (int offset = 0; offset < kScreenPixels; offset += 3) pixels[offset] = 0;
}

namespace {

void drawHelp(Game& g) {
    dim_frame(g.screen);
    for (const HelpLine& line : kHelpLines) gfx_draw_text(kHelpX, line.y, line.text);
}

void drawWorld(Game& g) {
    spinObjects(g.world);
    const Camera camera{g.view.orientation, g.view.position};
    renderWorld(g.renderer, g.world, camera, &g.sounds);
}

}  // namespace

void draw_game_frame() {
    Game& g = game();
    DrawContext* context = g.framework ? g.framework->drawContext : nullptr;
    std::uint8_t* pixels = context ? context->pixels : nullptr;
    if (!pixels) return;

    g.renderer.beginFrame(pixels, g.backgroundPicture ? g.backgroundPicture->pixels : nullptr);
    const GameState& s = g.state;
    if (!s.questionShown) {
        drawWorld(g);
        // The message band and the frame rate share the one stopwatch.
        if (!s.fpsShown) draw_message_band(g.world, g.messages);
    }
    // The question is drawn over the background, so the view's part of the
    // background must be down first.
    g.renderer.layViewBackground();
    if (s.questionShown && !s.helpShown && !s.optionsShown) g.questions.drawCurrentQuestion(context);

    if (s.helpShown) {
        drawHelp(g);
    } else if (s.optionsShown) {
        g.menu.draw(g.screen);
    }

    if (s.fpsShown) {
        g.fps.step();
        gfx_draw_text(kFpsX, kFpsY, g.fps.text);
    }
    fw_swap_buffers(1);
}
