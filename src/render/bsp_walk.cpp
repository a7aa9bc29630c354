#include "render/bsp_walk.h"

#include "geometry/bsp_node.h"
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
    walkDrawOrder(
        model, nodeIndex, model.cameraInModel,
        [&](std::int32_t node) { return !frustum.excludes(bounds.subtrees[node]); },
        [&](std::int32_t polygonIndex) {
            if (frustum.excludes(bounds.polygons[polygonIndex])) return keepWalking();
            return draw(polygonIndex);
        });
}
