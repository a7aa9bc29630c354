#include "render/bsp_walk.h"

#include "geometry/bsp_node.h"
#include "render/rasterizers.h"

void drawPolygon(Renderer& r, Model& model, const Polygon& polygon, RenderMode mode) {
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
    // plane): the mirror, with the back chain. Every node is visited.
    walkDrawOrder(model, nodeIndex, model.cameraInModel, [&](std::int32_t polygonIndex) {
        drawPolygon(r, model, model.polygons[polygonIndex], mode);
    });
}
