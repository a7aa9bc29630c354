#pragma once
// The world: the mazes and the objects standing in them, as slots that own
// or share their models. One instance lives in the Game; the player view
// points at the current maze's model.
//
// So far the maze slots and the current maze; the objects, passages, sound
// zones, messages and answers are built on this table by the game logic.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "geometry/matrix3.h"
#include "geometry/vec3.h"

struct Model;
class TextureList;

struct Slot {
    Slot();
    ~Slot();
    Slot(const Slot&) = delete;
    Slot& operator=(const Slot&) = delete;

    // The geometry, owned here or shared with an earlier slot of the same
    // table that has the same name (then ownsModel is 0). Stored whether or
    // not its file loaded: a failed load leaves an empty model.
    Model* model = nullptr;
    std::unique_ptr<Model> ownedModel;
    std::int32_t ownsModel = 0;
    std::int32_t active = 0;  // objects: shown, spinning and findable; mazes get 1
    Matrix3 orientation;      // placing orientation
    Vec3 position;            // placing position (mazes: the origin)
    Vec3 otherPosition;       // objects: where a wrong answer moves it
    std::string name;         // models are shared by equal names
    std::int32_t mazeIndex = 0;
};

class World {
public:
    static constexpr std::int32_t kSlotCapacity = 20;

    // Models are created against the one texture list, which must outlive
    // the world.
    explicit World(TextureList& textureList);
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Creates (or shares, by name) the maze's model, loaded with a collision
    // grid of cellSize; a 21st slot ends the program.
    void addMazeSlot(std::string_view name, std::string_view modelPath, const Matrix3& orientation,
                     const Vec3& position, std::int32_t mazeIndex, std::int32_t cellSize,
                     const Vec3& homePosition, std::int32_t active);

    // The model of maze i, none when i is not a maze number.
    Model* mazeModel(std::int32_t i) const;

    // Binds every slot's faces to the loaded texture bitmaps.
    void bindSlotTextures();

    // Runs after every iteration that handled a move key: passages, sound
    // zones and the sought object. Seam: does nothing until the game logic
    // fills it.
    void checkPlayerPosition();

    std::array<Slot, kSlotCapacity> objectSlots;
    std::array<Slot, kSlotCapacity> mazeSlots;  // maze number = index
    std::int32_t currentMaze = 0;
    std::int32_t objectCount = 0;
    std::int32_t mazeCount = 0;

private:
    TextureList& textures;
};
