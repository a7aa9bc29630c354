#include "shell/frame.h"

#include <cstring>

#include "framework/framework.h"
#include "shell/game.h"

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

}  // namespace

void draw_game_frame() {
    Game& g = game();
    DrawContext* context = g.framework ? g.framework->drawContext : nullptr;
    std::uint8_t* pixels = context ? context->pixels : nullptr;
    if (!pixels) return;

    if (g.backgroundPicture) std::memcpy(pixels, g.backgroundPicture->pixels, kScreenPixels);

    if (g.state.helpShown) {
        drawHelp(g);
    } else if (g.state.optionsShown) {
        g.menu.draw(g.screen);
    }

    if (g.state.fpsShown) {
        g.fps.step();
        gfx_draw_text(kFpsX, kFpsY, g.fps.text);
    }
    fw_swap_buffers(1);
}
