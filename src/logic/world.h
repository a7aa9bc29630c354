#pragma once
// The world: the mazes and the objects standing in them, as slots that own
// or share their models, with the mazes' start points, passages and sound
// zones; and the run-time logic that acts on them after movement and on the
// answer keys. One instance lives in the Game. The world is told where the
// eye is and whether an answer was right, and says what follows; the shell
// moves the view, keeps the flags and draws the message band.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "geometry/matrix3.h"
#include "geometry/vec3.h"

struct Model;
class TextureList;
class MessageBoard;
class SoundSet;

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
    SoundSet* sounds = nullptr;
};

// What the checks after a move found. collider: when not null, a passage
// put the eye at a start point, `eye`, of the maze whose model it is.
// objectInReach: the sought object (now currentObject) is within reach of
// the eye.
struct PositionCheck {
    Model* collider = nullptr;
    Vec3 eye;
    bool objectInReach = false;
};

// What an answer did: nothing (no object is sought), moved the object
// (wrong), retired it for the next one, or won the quiz with the last.
enum class AnswerOutcome {
    None,
    Wrong,
    Next,
    Won,
};

class World {
public:
    static constexpr std::int32_t kSlotCapacity = 20;
    static constexpr float kReach = 50.0f;  // per axis, eye to sought object

    // Where the message's first line starts, below the band, on each restart.
    static constexpr std::int32_t kMessageStartY = 480;

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
    // After every iteration that handled a move key, with the eye where the
    // move left it: passages, sound zones and the sought object, in that
    // order; the zones and objects are those of the maze a passage led to.
    PositionCheck checkPlayerPosition(const Vec3& eye);
    // A digit key while the question is shown, `right` as the question store
    // judged it: a right answer retires the object and moves on to the next
    // message; a wrong one moves the object.
    AnswerOutcome answerQuestion(bool right);
    // The message starts again from the bottom of the band.
    void restartMessageScroll();

    // The object slots in use; a count outside the table is never trusted.
    std::span<Slot> objectSlotsInUse();
    // Whether an object is drawn (and spins) in the current maze: active,
    // in that maze, and with a model.
    bool isShown(const Slot& object) const;

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

// The box around an object's position within which the eye finds it, kReach
// to every side.
Box objectReachBox(const Vec3& objectPosition);

// Turns every shown object by 15 degrees about y, in its slot. Once per
// drawn frame, so the turning speed follows the frame rate.
void spinObjects(World& world);
