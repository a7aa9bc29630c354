#include "shell/frame.h"

#include <algorithm>
#include <span>

#include "framework/framework.h"
#include "geometry/model.h"
#include "render/pipeline.h"
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

// What the renderer reads of the world this frame: the current maze's slot
// and the object slots, in slot order.
struct FrameScene {
    std::array<RenderObject, World::kSlotCapacity> objects;
    RenderScene scene;
};

void collectScene(World& world, FrameScene& out) {
    RenderScene& scene = out.scene;
    scene.currentMaze = world.currentMaze;
    scene.maze = world.mazeModel(world.currentMaze);
    if (scene.maze) {
        const Slot& slot = world.mazeSlots[world.currentMaze];
        scene.mazeOrientation = slot.orientation;
        scene.mazePosition = slot.position;
    }
    const int count = std::clamp(world.objectCount, 0, World::kSlotCapacity);
    for (int i = 0; i < count; ++i) {
        Slot& slot = world.objectSlots[i];
        out.objects[i] = {slot.model, &slot.orientation, slot.position, slot.active != 0,
                          slot.mazeIndex};
    }
    scene.objects = std::span<RenderObject>(out.objects.data(), count);
}

void drawWorld(Game& g) {
    FrameScene frame;
    collectScene(g.world, frame);
    spinObjects(frame.scene.objects, frame.scene.currentMaze);
    const Camera camera{g.view.orientation, g.view.position};
    renderWorld(g.renderer, frame.scene, camera);
}

}  // namespace

void draw_game_frame() {
    Game& g = game();
    DrawContext* context = g.framework ? g.framework->drawContext : nullptr;
    std::uint8_t* pixels = context ? context->pixels : nullptr;
    if (!pixels) return;

    g.renderer.beginFrame(pixels, g.backgroundPicture ? g.backgroundPicture->pixels : nullptr);
    if (!g.state.questionShown) drawWorld(g);
    g.renderer.layViewBackground();

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
