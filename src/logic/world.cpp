#include "logic/world.h"

#include "framework/framework.h"
#include "framework/reports.h"
#include "geometry/model.h"
#include "logic/message_board.h"
#include "shell/game_state.h"
#include "shell/player_view.h"
#include "shell/questions.h"
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

void World::checkPlayerPosition() {
    if (!peers.view || currentMaze < 0 || currentMaze >= mazeCount) return;
    PlayerView& view = *peers.view;

    // A passage moves the player at once; the zones and objects tested next
    // are those of the maze arrived in.
    for (std::int32_t i = 0; i < mazeSlots[currentMaze].passages.count; ++i) {
        const Passage& passage = mazeSlots[currentMaze].passages.items[i];
        if (!passage.box.contains(view.position)) continue;
        playSound(kPassageSound);
        // Targets were checked when the logic file was read; a world built
        // by hand with a bad target stays where it is.
        if (passage.targetMaze < 0 || passage.targetMaze >= mazeCount) break;
        currentMaze = passage.targetMaze;
        const Slot& target = mazeSlots[currentMaze];
        if (target.model && passage.targetStartPoint >= 0 &&
            passage.targetStartPoint < target.startPoints.count) {
            const StartPoint& start = target.startPoints.items[passage.targetStartPoint];
            view.setCollider(target.model);
            view.setPosition(Vec3{start.x, start.y, start.z});
        }
        break;
    }

    const Vec3 eye = view.position;
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
        const Vec3 reach{kReach, kReach, kReach};
        const Box near{Vec3{object.position.x - reach.x, object.position.y - reach.y,
                            object.position.z - reach.z},
                       Vec3{object.position.x + reach.x, object.position.y + reach.y,
                            object.position.z + reach.z}};
        if (!near.contains(eye)) continue;
        if (peers.state) peers.state->questionShown = 1;
        currentObject = j;
    }
}

void World::answerQuestion(int digit) {
    if (currentObject < 0 || currentObject >= objectCount) return;
    Slot& object = objectSlots[currentObject];
    const bool right = peers.questions && peers.questions->isRightAnswer(digit);
    // A learning platform scores the quiz from these; the game goes on the same.
    fw_report_answer({currentObject, objectCount, right, right && currentObject == objectCount - 1});
    if (!right) {
        // A second wrong answer brings the object back; the same question
        // waits for the player's return.
        std::swap(object.position, object.otherPosition);
        if (peers.state) peers.state->questionShown = 0;
        playSound(kWrongSound);
        return;
    }
    object.active = 0;
    if (currentObject < objectCount - 1) {
        playSound(kRightSound);
        objectSlots[currentObject + 1].active = 1;
        if (peers.messages) peers.messages->nextMessage();
        restartMessageScroll();
        peers.questions->nextQuestion();
        if (peers.state) peers.state->questionShown = 0;
        return;
    }
    // The last object: the question stays up until the key handler that
    // called this installs the ending.
    playSound(kLastRightSound);
    if (peers.state) peers.state->gameWon = 1;
}

void World::scrollMessage() {
    if (messageScrolling == 0 || !peers.messages) return;
    MessageBoard& board = *peers.messages;
    const std::int32_t lines = board.currentLineCount();
    gfx_set_clip_rect(kBandLeft, kBandTop, kBandRight, kBandBottom);
    // The current line returns to the first after the last, so every frame
    // starts drawing with line 0.
    for (std::int32_t i = 0; i < lines; ++i) {
        gfx_draw_text(kMessageX, messageY + 20 * i, board.currentLineText());
        board.advanceLine();
    }
    if (timer_lap() >= kScrollStepMicroseconds) {
        timer_stop();
        timer_start();
        messageY -= 2;
        if (messageY < kBandTop - 20 * lines) messageScrolling = 0;
    }
    gfx_set_clip_rect(0, 0, kScreenWidth, kScreenHeight);
}

void World::restartMessageScroll() {
    messageScrolling = 1;
    messageY = kMessageStartY;
}
