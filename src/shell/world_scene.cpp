#include "shell/world_scene.h"

#include <array>
#include <cstddef>

#include "logic/world.h"
#include "render/pipeline.h"
#include "sound/game_sounds.h"
#include "sound/sound_set.h"

void renderWorld(Renderer& r, World& world, const Camera& camera, SoundSet* sounds) {
    std::array<PlacedModel, World::kSlotCapacity> shown;
    std::size_t shownCount = 0;
    for (const Slot& object : world.objectSlotsInUse()) {
        if (!world.isShown(object)) continue;
        shown[shownCount++] = PlacedModel{object.model, object.orientation, object.position};
    }
    Scene scene;
    scene.objects = std::span<const PlacedModel>(shown).first(shownCount);
    Model* const maze = world.mazeModel(world.currentMaze);
    if (maze) {
        const Slot& slot = world.mazeSlots[world.currentMaze];
        scene.maze = PlacedModel{maze, slot.orientation, slot.position};
    }
    renderScene(r, scene, camera);
    if (maze && maze->bumpFlag != 0) {
        if (sounds) sounds->playSound(kBumpSound);
        maze->bumpFlag = 0;
    }
}
