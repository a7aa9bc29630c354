#pragma once
// The stored BSP tree of a model: node records, the side-of-eye test and the
// front-to-back order in which a walk visits polygons. The game never builds
// or changes a tree; the loader has checked every link and that no walk can
// loop, so the walk below needs no guards.

#include <cstdint>
#include <type_traits>

#include "geometry/vec3.h"

struct BspNode {
    std::int32_t polygon = -1;    // the node's polygon, or -1 for a joining node
    std::int32_t frontlist = -1;  // next node of the front chain
    std::int32_t backlist = -1;   // first/next node of the back chain
    std::int32_t fronttree = -1;
    std::int32_t backtree = -1;
    std::int32_t plane[4] = {-1, -1, -1, -1};  // as stated in the file; never read
    Vec3 bounds[2];                            // as stated in the file; never read

    void setFromFile(std::int32_t newPolygon, std::int32_t newFrontlist, std::int32_t newBacklist,
                     std::int32_t newFronttree, std::int32_t newBacktree, const Vec3& corner1,
                     const Vec3& corner2, std::int32_t a, std::int32_t b, std::int32_t c,
                     std::int32_t d);
};

// The plane through planePoint with normal n (any length): the eye is in
// front when dot(P - E, n) < 0; an eye in the plane counts as behind.
inline bool eyeInFront(const Vec3& planePoint, const Vec3& normal, const Vec3& eye) {
    Vec3 toPlane;
    planePoint.subtract(eye, toPlane);
    return dot(toPlane, normal) < 0.0f;
}

// Side of the eye for a node with a polygon: the plane of its polygon's
// first point and its face's normal. ModelT is Model (model.h includes this).
template <typename ModelT>
bool eyeInFrontOfNode(const ModelT& model, const BspNode& node, const Vec3& eye) {
    const auto& polygon = model.polygons[node.polygon];
    return eyeInFront(model.points[polygon.pointIndices[1]], model.faces[polygon.face].normal, eye);
}

// Calls visit(polygonIndex) for every polygon a walk from nodeIndex draws,
// nearest first: eye in front -> fronttree, front chain (own polygon first),
// backtree; behind -> backtree, back chain (without own polygon), fronttree.
// Recursive into one subtree, iterative along the other, like the renderer.
// A visit that returns bool ends the whole walk by returning false; the
// walk then returns false too.
//
// enter(nodeIndex) is asked before each subtree (the root, and each
// fronttree and backtree reached): false passes over the whole subtree,
// chains included. The rest keeps its order.
template <typename ModelT, typename Enter, typename Visit>
bool walkDrawOrder(const ModelT& model, std::int32_t nodeIndex, const Vec3& eye, Enter&& enter,
                   Visit&& visit) {
    const auto visitPolygon = [&](std::int32_t polygon) {
        if constexpr (std::is_same_v<decltype(visit(polygon)), bool>) {
            return visit(polygon);
        } else {
            visit(polygon);
            return true;
        }
    };
    const auto walkSubtree = [&](std::int32_t subtree) {
        return subtree == -1 || walkDrawOrder(model, subtree, eye, enter, visit);
    };
    while (nodeIndex != -1) {
        if (!enter(nodeIndex)) return true;
        const BspNode& node = model.nodes[nodeIndex];
        if (node.polygon == -1) {
            if (!walkSubtree(node.fronttree)) return false;
            nodeIndex = node.backtree;
            continue;
        }
        if (eyeInFrontOfNode(model, node, eye)) {
            if (!walkSubtree(node.fronttree)) return false;
            for (std::int32_t link = nodeIndex; link != -1; link = model.nodes[link].frontlist) {
                if (model.nodes[link].polygon != -1 && !visitPolygon(model.nodes[link].polygon)) return false;
            }
            nodeIndex = node.backtree;
        } else {
            if (!walkSubtree(node.backtree)) return false;
            for (std::int32_t link = node.backlist; link != -1; link = model.nodes[link].backlist) {
                if (model.nodes[link].polygon != -1 && !visitPolygon(model.nodes[link].polygon)) return false;
            }
            nodeIndex = node.fronttree;
        }
    }
    return true;
}

// Every subtree walked.
template <typename ModelT, typename Visit>
bool walkDrawOrder(const ModelT& model, std::int32_t nodeIndex, const Vec3& eye, Visit&& visit) {
    return walkDrawOrder(model, nodeIndex, eye, [](std::int32_t) { return true; }, visit);
}
