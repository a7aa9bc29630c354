#pragma once
// The world: the mazes and the objects standing in them, as slots that own
// or share their models, with the mazes' start points, passages and sound
// zones; and the run-time logic that acts on them after movement, on the
// answer keys and once per frame. One instance lives in the Game.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "geometry/matrix3.h"
#include "geometry/vec3.h"

struct Model;
class TextureList;
class MessageBoard;
class QuestionStore;
class SoundSet;
struct PlayerView;
struct GameState;

// Boxes are axis-aligned and closed: min <= coordinate <= max on every axis.
struct Box {
    Vec3 min;
    Vec3 max;
    bool contains(const Vec3& p) const {
        return min.x <= p.x && p.x <= max.x && min.y <= p.y && p.y <= max.y && min.z <= p.z &&
               p.z <= max.z;
    }
};

// Where a passage puts the player: y is an eye height.
struct StartPoint {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Entering the box moves the player to a start point of another maze.
struct Passage {
    std::int32_t targetMaze = 0;
    std::int32_t targetStartPoint = 0;
    Box box;
};

// Entering the box starts a sound, once per entry.
struct SoundZone {
    std::int32_t sound = 0;
    std::uint8_t inside = 0;  // cleared only when the eye is tested outside
    Box box;
};

template <typename T>
struct SlotList {
    static constexpr std::int32_t kCapacity = 20;
    std::array<T, kCapacity> items{};
    std::int32_t count = 0;
};

struct Slot {
    Slot();
    ~Slot();
    Slot(const Slot&) = delete;
    Slot& operator=(const Slot&) = delete;

    // The geometry, owned here or shared with an earlier slot of the same
    // table that has the same name (then ownsModel is 0, and only the owner
    // releases it). Stored whether or not its file loaded: a failed load
    // leaves an empty model that draws nothing.
    Model* model = nullptr;
    std::unique_ptr<Model> ownedModel;
    std::int32_t ownsModel = 0;
    std::int32_t active = 0;  // objects: shown, spinning and findable; mazes get 1
    SlotList<StartPoint> startPoints;  // mazes: numbered from 0 in file order
    SlotList<Passage> passages;
    SlotList<SoundZone> soundZones;
    Matrix3 orientation;      // placing orientation; active objects spin in it
    Vec3 position;            // placing position (mazes: the origin)
    Vec3 otherPosition;       // objects: where a wrong answer moves it
    std::string name;         // models are shared by equal names
    std::int32_t mazeIndex = 0;
};

// What the run-time logic acts on besides the world's own tables. A peer
// left out is skipped (tests build worlds with only the parts they need).
struct WorldPeers {
    MessageBoard* messages = nullptr;
    QuestionStore* questions = nullptr;
    SoundSet* sounds = nullptr;
    PlayerView* view = nullptr;
    GameState* state = nullptr;
};

class World {
public:
    static constexpr std::int32_t kSlotCapacity = 20;
    static constexpr float kReach = 50.0f;  // per axis, eye to sought object

    // Sound numbers the logic starts (load order of the sound set).
    static constexpr int kPassageSound = 0;
    static constexpr int kRightSound = 1;
    static constexpr int kLastRightSound = 2;
    static constexpr int kWrongSound = 5;

    // The message band: clip rectangle, text x, and the pace of the scroll.
    static constexpr int kBandLeft = 47;
    static constexpr int kBandTop = 410;
    static constexpr int kBandRight = 592;
    static constexpr int kBandBottom = 468;
    static constexpr int kMessageX = 50;
    static constexpr int kMessageStartY = 480;
    static constexpr std::uint32_t kScrollStepMicroseconds = 50000;

    // Models are created against the one texture list, which must outlive
    // the world.
    explicit World(TextureList& textureList, WorldPeers peers = {});
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // ---- set-up (start-up and the logic file) ----
    // Creates (or shares, by exact name) the slot's model, loaded with a
    // collision grid of cellSize; a 21st slot of a table ends the program.
    void addMazeSlot(std::string_view name, std::string_view modelPath, const Matrix3& orientation,
                     const Vec3& position, std::int32_t mazeIndex, std::int32_t cellSize,
                     const Vec3& homePosition, std::int32_t active);
    void addObjectSlot(std::string_view name, std::string_view modelPath,
                       const Matrix3& orientation, const Vec3& position, const Vec3& otherPosition,
                       std::int32_t mazeIndex, std::int32_t cellSize, const Vec3& homePosition,
                       std::int32_t active);
    // A 21st entry of one list ends the program.
    void addStartPoint(Slot& slot, float x, float y, float z);
    void addPassage(Slot& slot, std::int32_t targetMaze, std::int32_t targetStartPoint,
                    const Box& box);
    void addSoundZone(Slot& slot, std::int32_t sound, const Box& box);

    // The model of maze i, none when i is not a maze number.
    Model* mazeModel(std::int32_t i) const;

    // Binds every slot's faces to the loaded texture bitmaps.
    void bindSlotTextures();

    // ---- run time ----
    // After every iteration that handled a move key: passages, sound zones
    // and the sought object, in that order.
    void checkPlayerPosition();
    // A digit key while the question is shown: a right answer retires the
    // object and moves on to the next; a wrong one moves the object.
    void answerQuestion(int digit);
    // Draws the sought object's message in the band and moves it up, at
    // most 2 pixels per frame and one step per 50 ms.
    void scrollMessage();
    // The message starts again from the bottom of the band.
    void restartMessageScroll();

    std::array<Slot, kSlotCapacity> objectSlots;
    std::array<Slot, kSlotCapacity> mazeSlots;  // maze number = index
    std::int32_t currentMaze = 0;
    std::int32_t objectCount = 0;
    std::int32_t mazeCount = 0;
    std::int32_t messageY = kMessageStartY;  // screen y of the message's first line
    std::int32_t messageScrolling = 1;
    std::int32_t currentObject = 0;  // whose question is shown or was last shown

private:
    void playSound(int index);

    TextureList& textures;
    WorldPeers peers;
};
