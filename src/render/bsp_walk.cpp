#include "render/bsp_walk.h"

#include <algorithm>
#include <cmath>

#include "geometry/bsp_node.h"
#include "render/projection.h"
#include "render/rasterizers.h"

namespace {

// Once the maze fills the view, only its single-colour faces (drawn with a
// depth test, not through the span buffer) can still change a pixel.
bool cannotShow(const Renderer& r, const Model& model, const Polygon& polygon, RenderMode mode) {
    if (mode != RenderMode::Maze || !r.viewFull()) return false;
    const bool colourFace = polygon.face >= 1 && polygon.face <= model.faceCount &&
                            !model.faces[polygon.face].textured();
    return !colourFace;
}

// Whether a box of the maze would paint no pixel: every view pixel it can
// reach on screen is already claimed. Only for a maze of textured faces:
// each of its triangles is laid through the span buffer, which paints
// nothing where its bounds hold no free pixel (and colour faces, which
// claim nothing, are drawn regardless). Pixels are only ever claimed, so a
// box hidden now stays hidden for the rest of the frame.
class HiddenBoxTest {
public:
    HiddenBoxTest(const Model& model, const ModelFrustum& frustum)
        : rotation_(model.modelToCamera), offset_(model.modelToCameraOffset), slack_(frustum.slack) {
        for (int i = 0; i < 9; ++i) absRotation_.m[i] = std::fabs(rotation_.m[i]);
    }

    bool hidden(const SpanBuffer& spans, const BoundingBox& box) const {
        // The box in camera space, as an axis-aligned box around the turned
        // one, grown by the transform's rounding slack so that every
        // transformed point, and every point the clipper makes between
        // them, lies inside.
        Vec3 centre;
        box.centre.mulRow(rotation_, centre);
        centre.addInPlace(offset_);
        Vec3 half;
        box.halfSize.mulRow(absRotation_, half);
        const float nearZ = centre.z - half.z - slack_;
        // Near the eye x/z grows without bound: such a box is walked (and a
        // NaN fails here too).
        if (!(nearZ >= kNearestBoxZ)) return false;
        const float nearW = 1.0f / nearZ;
        const float farW = 1.0f / (centre.z + half.z + slack_);
        const float lowX = centre.x - half.x - slack_;
        const float highX = centre.x + half.x + slack_;
        const float lowY = centre.y - half.y - slack_;
        const float highY = centre.y + half.y + slack_;
        // x/z over the box is extreme at its nearest or farthest face.
        const float left = std::min(lowX * nearW, lowX * farW) * (kViewWidth / 2.0f);
        const float right = std::max(highX * nearW, highX * farW) * (kViewWidth / 2.0f);
        const float top = std::min(lowY * nearW, lowY * farW) * (kViewHeight / 2.0f);
        const float bottom = std::max(highY * nearW, highY * farW) * (kViewHeight / 2.0f);
        // Vertices are truncated to whole pixels and clamped to the view,
        // both monotonic, so the box's vertices land in the truncated range;
        // a triangle's bounds then add 2 columns each side. One more pixel
        // all round covers the projection's rounding. Far outside the view
        // the floats need not fit an int: clamp first.
        const auto pixel = [](float offCentre, float origin, float size) {
            return static_cast<int>(std::floor(std::clamp(offCentre + origin + size / 2.0f, 0.0f, 639.0f)));
        };
        const PixelRect area{pixel(left, kViewOriginX, kViewWidth) - 3,
                             pixel(top, kViewOriginY, kViewHeight) - 1,
                             pixel(right, kViewOriginX, kViewWidth) + 3,
                             pixel(bottom, kViewOriginY, kViewHeight) + 1};
        return !spans.anyFree(intersect(area, kViewArea));
    }

private:
    // Boxes nearer than this are not worth the test, and x/z of their
    // corners could grow past what the slack covers.
    static constexpr float kNearestBoxZ = 1.0f;

    Matrix3 rotation_;
    Matrix3 absRotation_;
    Vec3 offset_;
    float slack_ = 0.0f;
};

}  // namespace

bool hasColourFace(const Model& model) {
    for (int i = 1; i <= model.faceCount; ++i) {
        if (!model.faces[i].textured()) return true;
    }
    return false;
}

void drawPolygon(Renderer& r, Model& model, const Polygon& polygon, RenderMode mode) {
    if (cannotShow(r, model, polygon, mode)) return;
    // Every vertex is transformed, also those about to be clipped away: the
    // clipper reads positions by index.
    for (int k = 1; k <= polygon.pointCount; ++k) {
        const int i = polygon.pointIndices[k];
        if (!model.transformedFlags[i]) {
            Vec3& view = model.viewPoints[i];
            model.points[i].mulRow(model.modelToCamera, view);
            view.addInPlace(model.modelToCameraOffset);
            model.transformedFlags[i] = 1;
        }
    }
    const ClipInput input{polygon.pointCount, polygon.face, polygon.pointIndices.data(),
                          polygon.texCoords.data(), nullptr};
    const ClipPolygon& clipped = r.clip.clipToFrustum(input, model.viewPoints);
    fillPolygon(r, model, clipped, mode);
}

void walkBspTree(Renderer& r, Model& model, std::int32_t nodeIndex, RenderMode mode) {
    // Eye in front of a node: its front subtree, then the polygons of its
    // plane that face the eye, then the back subtree; behind (or in the
    // plane): the mirror, with the back chain. A maze without colour faces
    // has nothing left to draw once it fills the view, and the walk ends
    // there.
    const bool endWhenFull = mode == RenderMode::Maze && !hasColourFace(model);
    const auto keepWalking = [&] { return !(endWhenFull && r.viewFull()); };
    const auto draw = [&](std::int32_t polygonIndex) {
        drawPolygon(r, model, model.polygons[polygonIndex], mode);
        return keepWalking();
    };

    // Subtrees and polygons wholly outside the frustum would clip to
    // nothing: they are passed over untransformed, in the same walk order,
    // so the picture and the early end are as if they had been drawn.
    const BspBounds& bounds = model.bspBounds;
    const bool haveBounds =
        bounds.subtrees.size() == model.nodes.size() && bounds.polygons.size() == model.polygons.size();
    if (!haveBounds) {
        walkDrawOrder(model, nodeIndex, model.cameraInModel, draw);
        return;
    }
    const ModelFrustum frustum(model.modelToCamera, model.modelToCameraOffset,
                               bounds.largestCoordinate);
    // A subtree out of view or behind what the maze has already laid paints
    // nothing; the second test only where the walk could also end early.
    const HiddenBoxTest hiddenTest(model, frustum);
    walkDrawOrder(
        model, nodeIndex, model.cameraInModel,
        [&](std::int32_t node) {
            const BoundingBox& box = bounds.subtrees[node];
            return !frustum.excludes(box) && !(endWhenFull && hiddenTest.hidden(r.spanBuffer, box));
        },
        [&](std::int32_t polygonIndex) {
            const BoundingBox& box = bounds.polygons[polygonIndex];
            if (frustum.excludes(box) || (endWhenFull && hiddenTest.hidden(r.spanBuffer, box))) {
                return keepWalking();
            }
            return draw(polygonIndex);
        });
}
