#include "logic/world.h"

#include <algorithm>

#include "framework/fatal.h"
#include "framework/reports.h"
#include "geometry/model.h"
#include "logic/message_board.h"
#include "sound/game_sounds.h"
#include "sound/sound_set.h"

Slot::Slot() = default;
Slot::~Slot() = default;

World::World(TextureList& textureList, WorldPeers worldPeers)
    : textures(textureList), peers(worldPeers) {}

namespace {

// Steps shared by both tables: the model is shared with the first earlier
// slot of the same name, else created (and kept, loaded or not).
Slot& takeSlot(std::array<Slot, World::kSlotCapacity>& table, std::int32_t& count,
               std::string_view name, std::string_view modelPath, std::int32_t cellSize,
               const Vec3& homePosition, TextureList& textures) {
    if (count >= World::kSlotCapacity) gfx_fatal_error("No object slots available!");
    Slot& slot = table[count];
    slot.model = nullptr;
    slot.ownedModel.reset();
    slot.ownsModel = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        if (table[i].name == name) {
            slot.model = table[i].model;
            break;
        }
    }
    if (slot.model == nullptr) {
        slot.ownedModel = std::make_unique<Model>(modelPath, textures, cellSize, homePosition);
        slot.model = slot.ownedModel.get();
        slot.ownsModel = 1;
    }
    slot.name = std::string(name);
    slot.startPoints.count = 0;
    slot.passages.count = 0;
    slot.soundZones.count = 0;
    ++count;
    return slot;
}

template <typename T>
void append(SlotList<T>& list, const T& item) {
    if (list.count >= SlotList<T>::kCapacity) gfx_fatal_error("No new begin possible!");
    list.items[list.count] = item;
    ++list.count;
}

}  // namespace

void World::addMazeSlot(std::string_view name, std::string_view modelPath,
                        const Matrix3& orientation, const Vec3& position, std::int32_t mazeIndex,
                        std::int32_t cellSize, const Vec3& homePosition, std::int32_t active) {
    Slot& slot =
        takeSlot(mazeSlots, mazeCount, name, modelPath, cellSize, homePosition, textures);
    slot.orientation = orientation;
    slot.position = position;
    slot.mazeIndex = mazeIndex;
    slot.active = active;
}

void World::addObjectSlot(std::string_view name, std::string_view modelPath,
                          const Matrix3& orientation, const Vec3& position,
                          const Vec3& otherPosition, std::int32_t mazeIndex,
                          std::int32_t cellSize, const Vec3& homePosition, std::int32_t active) {
    Slot& slot =
        takeSlot(objectSlots, objectCount, name, modelPath, cellSize, homePosition, textures);
    slot.orientation = orientation;
    slot.position = position;
    slot.otherPosition = otherPosition;
    slot.mazeIndex = mazeIndex;
    slot.active = active;
}

void World::addStartPoint(Slot& slot, float x, float y, float z) {
    append(slot.startPoints, StartPoint{x, y, z});
}

void World::addPassage(Slot& slot, std::int32_t targetMaze, std::int32_t targetStartPoint,
                       const Box& box) {
    append(slot.passages, Passage{targetMaze, targetStartPoint, box});
}

void World::addSoundZone(Slot& slot, std::int32_t sound, const Box& box) {
    append(slot.soundZones, SoundZone{sound, 0, box});
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

void World::playSound(int index) {
    if (peers.sounds) peers.sounds->playSound(index);
}

Box objectReachBox(const Vec3& p) {
    const float r = World::kReach;
    return Box{Vec3{p.x - r, p.y - r, p.z - r}, Vec3{p.x + r, p.y + r, p.z + r}};
}

PositionCheck World::checkPlayerPosition(const Vec3& eyeBefore) {
    PositionCheck check;
    check.eye = eyeBefore;
    if (currentMaze < 0 || currentMaze >= mazeCount) return check;

    // A passage moves the player at once; the zones and objects tested next
    // are those of the maze arrived in.
    for (std::int32_t i = 0; i < mazeSlots[currentMaze].passages.count; ++i) {
        const Passage& passage = mazeSlots[currentMaze].passages.items[i];
        if (!passage.box.contains(check.eye)) continue;
        playSound(kPassageSound);
        // Targets were checked when the logic file was read; a world built
        // by hand with a bad target stays where it is.
        if (passage.targetMaze < 0 || passage.targetMaze >= mazeCount) break;
        currentMaze = passage.targetMaze;
        const Slot& target = mazeSlots[currentMaze];
        if (target.model && passage.targetStartPoint >= 0 &&
            passage.targetStartPoint < target.startPoints.count) {
            const StartPoint& start = target.startPoints.items[passage.targetStartPoint];
            check.collider = target.model;
            check.eye = Vec3{start.x, start.y, start.z};
        }
        break;
    }

    const Vec3 eye = check.eye;
    Slot& maze = mazeSlots[currentMaze];
    for (std::int32_t i = 0; i < maze.soundZones.count; ++i) {
        SoundZone& zone = maze.soundZones.items[i];
        if (!zone.box.contains(eye)) {
            zone.inside = 0;
        } else if (zone.inside == 0) {
            playSound(zone.sound);
            zone.inside = 1;
        }
    }

    // Every slot is tested: of several within reach, the last is sought.
    for (std::int32_t j = 0; j < objectCount; ++j) {
        const Slot& object = objectSlots[j];
        if (object.mazeIndex != currentMaze || object.active == 0) continue;
        if (!objectReachBox(object.position).contains(eye)) continue;
        check.objectInReach = true;
        currentObject = j;
    }
    return check;
}

AnswerOutcome World::answerQuestion(bool right) {
    if (currentObject < 0 || currentObject >= objectCount) return AnswerOutcome::None;
    Slot& object = objectSlots[currentObject];
    // A learning platform scores the quiz from these; the game goes on the same.
    fw_report_answer({currentObject, objectCount, right, right && currentObject == objectCount - 1});
    if (!right) {
        // A second wrong answer brings the object back; the same question
        // waits for the player's return.
        std::swap(object.position, object.otherPosition);
        playSound(kWrongSound);
        return AnswerOutcome::Wrong;
    }
    object.active = 0;
    if (currentObject < objectCount - 1) {
        playSound(kRightSound);
        objectSlots[currentObject + 1].active = 1;
        if (peers.messages) peers.messages->nextMessage();
        restartMessageScroll();
        return AnswerOutcome::Next;
    }
    // The last object: the question stays up until the key handler that
    // called this installs the ending.
    playSound(kLastRightSound);
    return AnswerOutcome::Won;
}

void World::restartMessageScroll() {
    messageScrolling = 1;
    messageY = kMessageStartY;
}

std::span<Slot> World::objectSlotsInUse() {
    return std::span<Slot>(objectSlots)
        .first(static_cast<std::size_t>(std::clamp(objectCount, 0, kSlotCapacity)));
}

bool World::isShown(const Slot& object) const {
    return object.active != 0 && object.mazeIndex == currentMaze && object.model;
}

void spinObjects(World& world) {
    constexpr int kSpinDegrees = 15;
    for (Slot& object : world.objectSlotsInUse()) {
        if (world.isShown(object)) object.orientation.rotateY(kSpinDegrees);
    }
}
