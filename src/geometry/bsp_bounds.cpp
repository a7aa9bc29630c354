#include "geometry/bsp_bounds.h"

#include <algorithm>
#include <cmath>

namespace {

// Smallest and largest corner while boxes are being merged; starts empty.
struct Extent {
    Vec3 low{1.0f, 1.0f, 1.0f};
    Vec3 high{-1.0f, -1.0f, -1.0f};

    bool empty() const { return low.x > high.x; }

    void add(const Vec3& p) {
        if (empty()) {
            low = p;
            high = p;
            return;
        }
        low.set(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
        high.set(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
    }
    void add(const Extent& e) {
        if (e.empty()) return;
        add(e.low);
        add(e.high);
    }

    // Halving rounds, so centre ± half may fall a little short of low and
    // high; the frustum test's slack, scaled by the largest coordinate,
    // covers far more than that.
    BoundingBox box() const {
        if (empty()) return {};
        return {{(low.x + high.x) * 0.5f, (low.y + high.y) * 0.5f, (low.z + high.z) * 0.5f},
                {(high.x - low.x) * 0.5f, (high.y - low.y) * 0.5f, (high.z - low.z) * 0.5f}};
    }
};

// Box of every polygon on the chain from `start` along `link`, for each
// start. Chains share tails, so each tail is merged once: a chain is walked
// up to the first node already known and filled in backwards.
std::vector<Extent> chainExtents(std::span<const BspNode> nodes, std::span<const Extent> polygonExtents,
                                 std::int32_t BspNode::*link) {
    const auto count = static_cast<std::int32_t>(nodes.size()) - 1;
    std::vector<Extent> chain(nodes.size());
    // 0 not yet merged, 1 on the path being walked, 2 merged.
    std::vector<std::uint8_t> state(nodes.size(), 0);
    std::vector<std::int32_t> path;
    for (std::int32_t start = 1; start <= count; ++start) {
        path.clear();
        std::int32_t at = start;
        while (at >= 1 && at <= count && state[at] == 0) {
            state[at] = 1;
            path.push_back(at);
            at = nodes[at].*link;
        }
        // A loop (which the loader refuses) would end on a node of this path,
        // whose box is not yet known: it then adds nothing more.
        Extent tail = (at >= 1 && at <= count && state[at] == 2) ? chain[at] : Extent{};
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            const std::int32_t polygon = nodes[*it].polygon;
            if (polygon >= 1 && polygon < static_cast<std::int32_t>(polygonExtents.size())) {
                tail.add(polygonExtents[polygon]);
            }
            chain[*it] = tail;
            state[*it] = 2;
        }
    }
    return chain;
}

}  // namespace

BspBounds buildBspBounds(std::span<const Vec3> points, std::span<const Polygon> polygons,
                         std::span<const BspNode> nodes) {
    BspBounds bounds;
    Extent whole;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Vec3& p = points[i];
        whole.add(p);
        bounds.largestCoordinate = std::max(
            {bounds.largestCoordinate, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    }

    std::vector<Extent> polygonExtents(polygons.size());
    bounds.polygons.assign(polygons.size(), BoundingBox{});
    for (std::size_t p = 1; p < polygons.size(); ++p) {
        const Polygon& polygon = polygons[p];
        for (std::int32_t k = 1; k <= polygon.pointCount; ++k) {
            const std::int32_t index = polygon.pointIndices[k];
            if (index >= 1 && static_cast<std::size_t>(index) < points.size()) {
                polygonExtents[p].add(points[index]);
            }
        }
        bounds.polygons[p] = polygonExtents[p].box();
    }

    const std::vector<Extent> front = chainExtents(nodes, polygonExtents, &BspNode::frontlist);
    const std::vector<Extent> back = chainExtents(nodes, polygonExtents, &BspNode::backlist);

    // Nodes of the tree from node 1 in an order where every node comes
    // before its subtrees; merged in reverse, subtrees come first. A stack,
    // not recursion: trees may be thousands of nodes deep.
    const auto count = static_cast<std::int32_t>(nodes.size()) - 1;
    std::vector<std::int32_t> order;
    std::vector<std::int32_t> pending;
    std::vector<std::uint8_t> seen(nodes.size(), 0);
    if (count >= 1) pending.push_back(1);
    while (!pending.empty()) {
        const std::int32_t n = pending.back();
        pending.pop_back();
        if (n < 1 || n > count || seen[n]) continue;
        seen[n] = 1;
        order.push_back(n);
        pending.push_back(nodes[n].fronttree);
        pending.push_back(nodes[n].backtree);
    }
    std::vector<Extent> subtree(nodes.size(), whole);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const BspNode& node = nodes[*it];
        Extent e;
        if (node.polygon != -1) {
            // Eye in front: this node's front chain, own polygon first;
            // behind: the back chain that starts at backlist.
            e.add(front[*it]);
            if (node.backlist >= 1 && node.backlist <= count) e.add(back[node.backlist]);
        }
        if (node.fronttree >= 1 && node.fronttree <= count) e.add(subtree[node.fronttree]);
        if (node.backtree >= 1 && node.backtree <= count) e.add(subtree[node.backtree]);
        subtree[*it] = e;
    }
    bounds.subtrees.resize(nodes.size());
    for (std::size_t n = 0; n < nodes.size(); ++n) bounds.subtrees[n] = subtree[n].box();
    return bounds;
}
