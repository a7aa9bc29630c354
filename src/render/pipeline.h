#pragma once
// The per-frame order of drawing: the scene's maze front to back through the
// span buffer, then the scene's objects against the depth buffer, in the
// order given. Hidden surfaces between maze and objects rest on that order.

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

// A model as the frame places it: a model point P is at P·orientation + position.
struct PlacedModel {
    Model* model = nullptr;
    Matrix3 orientation;
    Vec3 position;
};

// What one frame draws: the current maze (none when its model is null) and
// the objects shown in it, in drawing order, each with a model.
struct Scene {
    PlacedModel maze;
    std::span<const PlacedModel> objects;
};

// The maze, then its objects; only the models' per-draw render state is
// written. The frame must have called Renderer::beginFrame first.
void renderScene(Renderer& r, const Scene& scene, const Camera& camera);

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
