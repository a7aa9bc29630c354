#include "render/pipeline.h"

#include <algorithm>
#include <span>

#include "render/bsp_walk.h"
#include "render/clipping.h"
#include "render/projection.h"

namespace {

// The per-point arrays must cover every point; a model that is empty or
// whose load failed has nothing to draw.
bool drawable(const Model& model) {
    const auto points = static_cast<std::size_t>(model.pointCount) + 1;
    return model.loaded && model.pointCount >= 1 && model.nodeCount >= 1 &&
           model.transformedFlags.size() >= points &&
           model.projectedFlags.size() >= points && model.viewPoints.size() >= points &&
           model.projectedPoints.size() >= points;
}

// The screen pixels a placed model can cover, from the eight corners of its
// box in camera space: every point drawn (clipped points too) lies in the
// box, and with the box in front of the eye its picture lies within the
// corners' pictures. Rounding of the per-point transform is far below the
// two pixels of slack. A box reaching near the eye gives the whole view; one
// wholly behind it, nothing.
PixelRect screenBounds(const Model& model, const Camera& camera, const Matrix3& orientation,
                       const Vec3& position) {
    // z beyond which no point of the model can reach the near plane, and
    // below which projection rounding could grow: the units are the
    // world's, a tenth of a step.
    constexpr float kNearestBoxZ = 1.0f;
    Vec3 low = model.points[1];
    Vec3 high = model.points[1];
    for (int i = 2; i <= model.pointCount; ++i) {
        const Vec3& p = model.points[i];
        low.set(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
        high.set(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
    }
    const ModelToCamera toCamera = modelToCamera(camera, orientation, position);

    float minX = 1e30f, maxX = -1e30f, minY = 1e30f, maxY = -1e30f;
    int behind = 0;
    for (int corner = 0; corner < 8; ++corner) {
        const Vec3 c{corner & 1 ? high.x : low.x, corner & 2 ? high.y : low.y,
                     corner & 4 ? high.z : low.z};
        Vec3 view;
        c.mulRow(toCamera.rotation, view);
        view.addInPlace(toCamera.offset);
        if (view.z < -kNearestBoxZ) {
            ++behind;
            continue;
        }
        if (view.z < kNearestBoxZ) return kViewArea;
        const Vec3 s = projectPoint(view);
        minX = std::min(minX, s.x);
        maxX = std::max(maxX, s.x);
        minY = std::min(minY, s.y);
        maxY = std::max(maxY, s.y);
    }
    if (behind == 8) return PixelRect{};
    if (behind > 0) return kViewArea;
    // Far outside the view the floats need not fit an int: clamp first.
    const auto pixel = [](float value, float lowest, float highest) {
        return static_cast<int>(std::clamp(value, lowest, highest));
    };
    constexpr int kSlack = 2;
    const PixelRect box{pixel(minX, 0.0f, 639.0f) - kSlack, pixel(minY, 0.0f, 479.0f) - kSlack,
                        pixel(maxX, 0.0f, 639.0f) + kSlack, pixel(maxY, 0.0f, 479.0f) + kSlack};
    return intersect(box, kViewArea);
}

// Where depth-tested drawing can land after the maze: the maze's own colour
// faces are tested against its depth anywhere, so a maze with one needs the
// whole view; otherwise the screen bounds of the objects about to be drawn.
PixelRect depthTestedArea(std::span<const PlacedModel> objects, const Model& maze,
                          const Camera& camera) {
    if (hasColourFace(maze)) return kViewArea;
    PixelRect area;
    for (const PlacedModel& object : objects) {
        if (!drawable(*object.model)) continue;
        area = unite(area,
                     screenBounds(*object.model, camera, object.orientation, object.position));
    }
    return area;
}

// The background's view part, into the view pixels no maze polygon claimed.
void layBackgroundInFreePixels(Renderer& r) {
    for (int y = kViewArea.top; y <= kViewArea.bottom; ++y) {
        const SpanLine& line = r.spanBuffer.line(y);
        for (int i = line.head; i != -1; i = line.spans[i].next) {
            copyPageRun(r.backBuffer.pixels, r.background, y,
                        std::max<int>(line.spans[i].first, kViewArea.left),
                        std::min<int>(line.spans[i].last, kViewArea.right));
        }
    }
    r.viewBackgroundPending = false;
}

}  // namespace

ModelToCamera modelToCamera(const Camera& camera, const Matrix3& orientation, const Vec3& position) {
    ModelToCamera toCamera;
    orientation.multiply(camera.orientation, toCamera.rotation);
    Vec3 placeOffset;
    position.subtract(camera.position, placeOffset);
    placeOffset.mulRow(camera.orientation, toCamera.offset);
    return toCamera;
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
    const ModelToCamera toCamera = modelToCamera(camera, orientation, position);
    model.modelToCamera = toCamera.rotation;
    model.modelToCameraOffset = toCamera.offset;

    walkBspTree(r, model, 1, mode);
}

void renderScene(Renderer& r, const Scene& scene, const Camera& camera) {
    if (Model* maze = scene.maze.model) {
        // A maze of textured faces claims every pixel it paints, so the
        // background it covers need not be laid first: afterwards it goes
        // into the pixels left free. Colour faces paint without claiming.
        const bool backgroundAfter = r.viewBackgroundPending && !hasColourFace(*maze);
        if (!backgroundAfter) r.layViewBackground();
        r.mazeDepthArea = depthTestedArea(scene.objects, *maze, camera);
        renderModel(r, *maze, camera, scene.maze.orientation, scene.maze.position,
                    RenderMode::Maze);
        r.mazeDepthArea = kViewArea;
        if (backgroundAfter) layBackgroundInFreePixels(r);
    }
    r.layViewBackground();
    for (const PlacedModel& object : scene.objects) {
        renderModel(r, *object.model, camera, object.orientation, object.position,
                    RenderMode::Object);
    }
}
