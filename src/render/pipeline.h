#pragma once
// The per-frame order of drawing: the current maze front to back through the
// span buffer, then every active object of that maze against the depth
// buffer, in slot order. Hidden surfaces between maze and objects rest on
// that order.

#include "geometry/matrix3.h"
#include "geometry/model.h"
#include "geometry/vec3.h"
#include "render/renderer.h"

class World;
class SoundSet;

// The player's view: a world point W has camera coordinates (W - E)·R.
struct Camera {
    Matrix3 orientation;  // R; rows of the initial view (1,0,0), (0,-1.6,0), (0,0,-1)
    Vec3 position;        // E, world coordinates
};

// The sound effect ("Argh.wav") started when the player bumped into the maze.
inline constexpr int kBumpSound = 4;

// Turns every active object of the current maze by 15 degrees about y, in
// its slot. Once per drawn frame, so the turning speed follows the frame rate.
void spinObjects(World& world);

// The current maze, then its active objects, straight from the world's
// slots; the world is written only in the models' per-draw render state and
// the maze's bump flag, whose sound plays through `sounds` when given. The
// frame must have called Renderer::beginFrame first.
void renderWorld(Renderer& r, World& world, const Camera& camera, SoundSet* sounds = nullptr);

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
