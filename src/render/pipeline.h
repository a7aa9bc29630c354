#pragma once
// The per-frame order of drawing: the current maze front to back through the
// span buffer, then every active object of that maze against the depth
// buffer, in slot order. Hidden surfaces between maze and objects rest on
// that order.

#include <cstdint>
#include <span>

#include "geometry/matrix3.h"
#include "geometry/model.h"
#include "geometry/vec3.h"
#include "render/renderer.h"

// The player's view: a world point W has camera coordinates (W - E)·R.
struct Camera {
    Matrix3 orientation;  // R; rows of the initial view (1,0,0), (0,-1.6,0), (0,0,-1)
    Vec3 position;        // E, world coordinates
};

// What the renderer reads of an object slot. The orientation belongs to the
// slot; spinObjects turns it in place.
struct RenderObject {
    Model* model = nullptr;
    Matrix3* orientation = nullptr;
    Vec3 position;
    bool active = false;
    std::int32_t mazeIndex = 0;
};

// A read-only view of the world for one frame. The models are written only
// in their per-draw render state and the maze's bump flag.
struct RenderScene {
    Model* maze = nullptr;  // the current maze; none draws no maze
    Matrix3 mazeOrientation = Matrix3::identity();
    Vec3 mazePosition;
    std::int32_t currentMaze = 0;
    std::span<RenderObject> objects;
    // Starts a sound effect by its load index; none plays nothing.
    void (*playSound)(int index) = nullptr;
};

// The sound effect ("Argh.wav") started when the player bumped into the maze.
inline constexpr int kBumpSound = 4;

// Turns every active object of the current maze by 15 degrees about y. Once
// per drawn frame, so the turning speed follows the frame rate.
void spinObjects(std::span<RenderObject> objects, std::int32_t currentMaze);

// The maze, then its active objects. The frame must have called
// Renderer::beginFrame and laid the background first.
void renderWorld(Renderer& r, const RenderScene& scene, const Camera& camera);

// How a model placed by orientation M and position T reaches camera
// coordinates: a model point P goes to P·rotation + offset, with rotation
// M·R and offset (T - E)·R, so each point costs one product and one sum.
struct ModelToCamera {
    Matrix3 rotation;
    Vec3 offset;
};
ModelToCamera modelToCamera(const Camera& camera, const Matrix3& orientation, const Vec3& position);

// Draws one model placed by orientation M and position T (a model point P
// is at P·M + T). A model whose load failed draws nothing.
void renderModel(Renderer& r, Model& model, const Camera& camera, const Matrix3& orientation,
                 const Vec3& position, RenderMode mode);
