#include "render/pipeline.h"

#include <algorithm>

#include "render/bsp_walk.h"

namespace {

constexpr int kSpinDegrees = 15;

bool drawnInMaze(const RenderObject& object, std::int32_t currentMaze) {
    return object.active && object.mazeIndex == currentMaze && object.model;
}

// The per-point arrays must cover every point; a model that is empty or
// whose load failed has nothing to draw.
bool drawable(const Model& model) {
    const auto points = static_cast<std::size_t>(model.pointCount) + 1;
    return model.loaded && model.nodeCount >= 1 && model.transformedFlags.size() >= points &&
           model.projectedFlags.size() >= points && model.viewPoints.size() >= points &&
           model.projectedPoints.size() >= points;
}

}  // namespace

void spinObjects(std::span<RenderObject> objects, std::int32_t currentMaze) {
    for (RenderObject& object : objects) {
        if (drawnInMaze(object, currentMaze) && object.orientation) {
            object.orientation->rotateY(kSpinDegrees);
        }
    }
}

void renderModel(Renderer& r, Model& model, const Camera& camera, const Matrix3& orientation,
                 const Vec3& position, RenderMode mode) {
    if (!drawable(model)) return;
    const auto flagCount = static_cast<std::size_t>(model.pointCount) + 1;
    std::fill_n(model.transformedFlags.begin(), flagCount, 0);
    std::fill_n(model.projectedFlags.begin(), flagCount, 0);

    // The eye in model coordinates: M·(E - T), M as applied to a column.
    Vec3 eyeOffset;
    camera.position.subtract(position, eyeOffset);
    eyeOffset.transform(orientation, model.cameraInModel);
    // Each point then costs one product and one sum: P·(M·R) + (T - E)·R.
    Vec3 placeOffset;
    position.subtract(camera.position, placeOffset);
    placeOffset.mulRow(camera.orientation, model.modelToCameraOffset);
    orientation.multiply(camera.orientation, model.modelToCamera);

    walkBspTree(r, model, 1, mode);
}

void renderWorld(Renderer& r, const RenderScene& scene, const Camera& camera) {
    if (scene.maze) {
        renderModel(r, *scene.maze, camera, scene.mazeOrientation, scene.mazePosition,
                    RenderMode::Maze);
        if (scene.maze->bumpFlag != 0) {
            if (scene.playSound) scene.playSound(kBumpSound);
            scene.maze->bumpFlag = 0;
        }
    }
    for (const RenderObject& object : scene.objects) {
        if (!drawnInMaze(object, scene.currentMaze)) continue;
        const Matrix3 orientation = object.orientation ? *object.orientation : Matrix3::identity();
        renderModel(r, *object.model, camera, orientation, object.position, RenderMode::Object);
    }
}
