#include "maze/polygon_split.h"

#include <algorithm>
#include <cstddef>

namespace {

// Twice the area below which a piece counts as a sliver: its vertices lie
// on one line (closing T-junctions puts many on each edge).
constexpr double kMinDoubleArea = 1e-6;

bool hasArea(const Mesh& mesh, const std::vector<int>& points) {
    std::vector<Point3> corners;
    corners.reserve(points.size());
    for (const int p : points) corners.push_back(mesh.points[p]);
    return length3(outline_normal(corners)) > kMinDoubleArea;
}

// The `count` vertices from `first` on, wrapping round.
std::vector<int> run(const std::vector<int>& points, std::size_t first, std::size_t count) {
    std::vector<int> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) out.push_back(points[(first + i) % points.size()]);
    return out;
}

// Cuts the largest piece that fits off a convex polygon along one diagonal;
// both sides keep the vertex order, so both stay convex and wound alike.
// Pieces as large as possible keep the count of new polygons low.
bool cutPiece(const Mesh& mesh, std::vector<int>& polygon, std::vector<int>& piece) {
    const std::size_t n = polygon.size();
    const std::size_t longest = std::min<std::size_t>(n - 1, kMaxPolygonVertices);
    for (std::size_t count = longest; count >= 3; --count) {
        for (std::size_t first = 0; first < n; ++first) {
            std::vector<int> candidate = run(polygon, first, count);
            if (!polygon_fits(candidate) || !hasArea(mesh, candidate)) continue;
            std::vector<int> rest = run(polygon, first + count - 1, n - count + 2);
            if (!hasArea(mesh, rest)) continue;
            piece = std::move(candidate);
            polygon = std::move(rest);
            return true;
        }
    }
    return false;
}

// Nodes reached through a back chain link; every other node with a polygon
// is a tree node or on a front chain.
std::vector<bool> backChainMembers(const std::vector<ModelNode>& nodes) {
    std::vector<bool> member(nodes.size(), false);
    for (const ModelNode& node : nodes) {
        if (node.backlist >= 0) member[static_cast<std::size_t>(node.backlist)] = true;
    }
    return member;
}

}  // namespace

bool polygon_fits(const std::vector<int>& points) {
    return points.size() <= static_cast<std::size_t>(kMaxPolygonVertices) &&
           index_list_length(points) <= kMaxModelLine;
}

bool split_long_polygons(Mesh& mesh, std::vector<ModelNode>& nodes, int& pieces) {
    pieces = 0;
    const std::vector<bool> inBackChain = backChainMembers(nodes);
    std::vector<int> nodeOf(mesh.polygons.size(), -1);
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        if (nodes[n].polygon >= 0) nodeOf[static_cast<std::size_t>(nodes[n].polygon)] = static_cast<int>(n);
    }
    const std::size_t original = mesh.polygons.size();
    for (std::size_t p = 0; p < original; ++p) {
        const int at = nodeOf[p];
        while (at >= 0 && !polygon_fits(mesh.polygons[p].points)) {
            MeshPolygon piece = mesh.polygons[p];
            if (!cutPiece(mesh, mesh.polygons[p].points, piece.points)) return false;
            // The piece lies in the polygon's plane and faces its way: it
            // belongs to the same chain, right after the polygon.
            const int added = static_cast<int>(nodes.size());
            ModelNode node;
            node.polygon = static_cast<int>(mesh.polygons.size());
            ModelNode& owner = nodes[static_cast<std::size_t>(at)];
            if (inBackChain[static_cast<std::size_t>(at)]) {
                node.backlist = owner.backlist;
                owner.backlist = added;
            } else {
                node.frontlist = owner.frontlist;
                owner.frontlist = added;
            }
            nodes.push_back(node);
            mesh.polygons.push_back(std::move(piece));
            ++pieces;
        }
    }
    return true;
}
