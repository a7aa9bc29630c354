#include "logic/world.h"

#include "framework/framework.h"
#include "geometry/model.h"

Slot::Slot() = default;
Slot::~Slot() = default;

World::World(TextureList& textureList) : textures(textureList) {}

void World::addMazeSlot(std::string_view name, std::string_view modelPath,
                        const Matrix3& orientation, const Vec3& position, std::int32_t mazeIndex,
                        std::int32_t cellSize, const Vec3& homePosition, std::int32_t active) {
    if (mazeCount >= kSlotCapacity) gfx_fatal_error("No object slots available!");
    Slot& slot = mazeSlots[mazeCount];
    slot.model = nullptr;
    slot.ownedModel.reset();
    slot.ownsModel = 0;
    for (std::int32_t i = 0; i < mazeCount; ++i) {
        if (mazeSlots[i].name == name) {
            slot.model = mazeSlots[i].model;
            break;
        }
    }
    if (slot.model == nullptr) {
        slot.ownedModel = std::make_unique<Model>(modelPath, textures, cellSize, homePosition);
        slot.model = slot.ownedModel.get();
        slot.ownsModel = 1;
    }
    slot.orientation = orientation;
    slot.position = position;
    slot.name = std::string(name);
    slot.mazeIndex = mazeIndex;
    slot.active = active;
    ++mazeCount;
}

Model* World::mazeModel(std::int32_t i) const {
    if (i < 0 || i >= mazeCount) return nullptr;
    return mazeSlots[i].model;
}

void World::bindSlotTextures() {
    for (std::int32_t i = 0; i < objectCount; ++i) {
        if (objectSlots[i].model) objectSlots[i].model->resolveFaceBitmaps();
    }
    for (std::int32_t i = 0; i < mazeCount; ++i) {
        if (mazeSlots[i].model) mazeSlots[i].model->resolveFaceBitmaps();
    }
}

void World::checkPlayerPosition() {}
