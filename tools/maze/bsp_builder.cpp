// BSP construction and T-junction repair for the content compiler.
#include "maze/bsp_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace {

// Distances within this of a plane count as on it. Maze coordinates are whole
// units and object coordinates are far coarser than this.
constexpr double kPlaneTolerance = 0.01;
// How many candidate planes are scored at one node at most.
constexpr std::size_t kMaxCandidates = 48;
constexpr int kSplitCost = 8;

struct Plane {
    Point3 normal;
    double offset = 0.0;  // dot(normal, p) for p on the plane
    int axis = -1;        // 0, 1, 2 when the normal is an axis (either sign)
};

enum class Side { Front, Back, Coplanar, Spanning };

Plane planeOf(const Mesh& mesh, const MeshPolygon& polygon) {
    Plane plane;
    plane.normal = polygon.normal;
    plane.offset = dot3(polygon.normal, mesh.points[polygon.points[0]]);
    const double c[3] = {polygon.normal.x, polygon.normal.y, polygon.normal.z};
    for (int a = 0; a < 3; ++a) {
        if (std::fabs(std::fabs(c[a]) - 1.0) < 1e-9) plane.axis = a;
    }
    return plane;
}

double distance(const Plane& plane, const Point3& p) { return dot3(plane.normal, p) - plane.offset; }

Side classify(const Mesh& mesh, const Plane& plane, const MeshPolygon& polygon) {
    bool front = false;
    bool back = false;
    double farthest = 0.0;
    for (const int i : polygon.points) {
        const double d = distance(plane, mesh.points[i]);
        if (d > kPlaneTolerance) front = true;
        if (d < -kPlaneTolerance) back = true;
        if (std::fabs(d) > std::fabs(farthest)) farthest = d;
    }
    if (front && back) return Side::Spanning;
    if (front) return Side::Front;
    if (back) return Side::Back;
    // Where two parts cut into each other at a flat angle, splitting leaves
    // slivers thinner than the tolerance in another plane. In the plane's
    // chain they would be drawn as if they lay in it; on the side they lean
    // to, they stay within the tolerance of their subtree's side.
    if (std::fabs(dot3(polygon.normal, plane.normal)) < 1.0 - 1e-9) {
        return farthest >= 0.0 ? Side::Front : Side::Back;
    }
    return Side::Coplanar;
}

bool samePlane(const Plane& a, const Plane& b) {
    return dot3(a.normal, b.normal) > 1.0 - 1e-9 && std::fabs(a.offset - b.offset) <= kPlaneTolerance;
}

// Cuts a spanning polygon into its front and back pieces. Points on the plane
// go into both pieces; new points land exactly on axis-aligned planes.
void split(Mesh& mesh, const Plane& plane, const MeshPolygon& polygon, MeshPolygon& front, MeshPolygon& back) {
    front = MeshPolygon{{}, polygon.normal, polygon.surface, polygon.part};
    back = front;
    const std::size_t n = polygon.points.size();
    for (std::size_t k = 0; k < n; ++k) {
        const int ia = polygon.points[k];
        const int ib = polygon.points[(k + 1) % n];
        const Point3 a = mesh.points[ia];
        const Point3 b = mesh.points[ib];
        const double da = distance(plane, a);
        const double db = distance(plane, b);
        if (da >= -kPlaneTolerance) front.points.push_back(ia);
        if (da <= kPlaneTolerance) back.points.push_back(ia);
        if ((da > kPlaneTolerance && db < -kPlaneTolerance) || (da < -kPlaneTolerance && db > kPlaneTolerance)) {
            Point3 p = a + (b - a) * (da / (da - db));
            if (plane.axis == 0) p.x = plane.offset * plane.normal.x;
            if (plane.axis == 1) p.y = plane.offset * plane.normal.y;
            if (plane.axis == 2) p.z = plane.offset * plane.normal.z;
            const int ip = mesh.addPoint(p);
            front.points.push_back(ip);
            back.points.push_back(ip);
        }
    }
}

class Builder {
public:
    explicit Builder(Mesh& mesh) : mesh_(mesh) {}

    std::vector<ModelNode> nodes;
    std::vector<MeshPolygon> placed;
    int splits = 0;

    int build(std::vector<MeshPolygon> set) {
        const Plane plane = choosePlane(set);
        const int self = static_cast<int>(nodes.size());
        nodes.emplace_back();

        std::vector<MeshPolygon> front;
        std::vector<MeshPolygon> back;
        std::vector<MeshPolygon> sameFacing;
        std::vector<MeshPolygon> oppositeFacing;
        for (MeshPolygon& polygon : set) {
            switch (classify(mesh_, plane, polygon)) {
                case Side::Front: front.push_back(std::move(polygon)); break;
                case Side::Back: back.push_back(std::move(polygon)); break;
                case Side::Coplanar:
                    if (dot3(polygon.normal, plane.normal) > 0.0) sameFacing.push_back(std::move(polygon));
                    else oppositeFacing.push_back(std::move(polygon));
                    break;
                case Side::Spanning: {
                    MeshPolygon f, b;
                    split(mesh_, plane, polygon, f, b);
                    ++splits;
                    if (f.points.size() >= 3) front.push_back(std::move(f));
                    if (b.points.size() >= 3) back.push_back(std::move(b));
                    break;
                }
            }
        }
        // The plane came from a polygon of the set, which faces its way; a
        // polygon that is not planar within the tolerance could break that.
        if (sameFacing.empty()) std::abort();
        nodes[self].polygon = place(std::move(sameFacing[0]));
        int last = self;
        for (std::size_t i = 1; i < sameFacing.size(); ++i) {
            const int chained = chainNode(std::move(sameFacing[i]));
            nodes[last].frontlist = chained;
            last = chained;
        }
        last = -1;
        for (MeshPolygon& polygon : oppositeFacing) {
            const int chained = chainNode(std::move(polygon));
            if (last < 0) nodes[self].backlist = chained;
            else nodes[last].backlist = chained;
            last = chained;
        }
        if (!front.empty()) {
            const int child = build(std::move(front));
            nodes[self].fronttree = child;
        }
        if (!back.empty()) {
            const int child = build(std::move(back));
            nodes[self].backtree = child;
        }
        return self;
    }

private:
    Mesh& mesh_;

    int place(MeshPolygon polygon) {
        placed.push_back(std::move(polygon));
        return static_cast<int>(placed.size()) - 1;
    }

    int chainNode(MeshPolygon polygon) {
        const int index = static_cast<int>(nodes.size());
        nodes.emplace_back();
        nodes[index].polygon = place(std::move(polygon));
        return index;
    }

    Plane choosePlane(const std::vector<MeshPolygon>& set) {
        bool anyAxis = false;
        std::vector<Plane> candidates;
        for (const MeshPolygon& polygon : set) {
            if (planeOf(mesh_, polygon).axis >= 0) anyAxis = true;
        }
        const std::size_t step = std::max<std::size_t>(1, set.size() / kMaxCandidates);
        for (std::size_t i = 0; i < set.size(); i += step) {
            const Plane plane = planeOf(mesh_, set[i]);
            if (anyAxis && plane.axis < 0) continue;
            bool seen = false;
            for (const Plane& c : candidates) seen = seen || samePlane(c, plane);
            if (!seen) candidates.push_back(plane);
        }
        if (candidates.empty()) {
            for (const MeshPolygon& polygon : set) {
                if (!anyAxis || planeOf(mesh_, polygon).axis >= 0) {
                    candidates.push_back(planeOf(mesh_, polygon));
                    break;
                }
            }
        }
        long bestScore = -1;
        Plane best = candidates[0];
        for (const Plane& plane : candidates) {
            long front = 0, back = 0, cuts = 0;
            for (const MeshPolygon& polygon : set) {
                switch (classify(mesh_, plane, polygon)) {
                    case Side::Front: ++front; break;
                    case Side::Back: ++back; break;
                    case Side::Spanning: ++cuts; break;
                    case Side::Coplanar: break;
                }
            }
            const long score = kSplitCost * cuts + std::labs(front - back);
            if (bestScore < 0 || score < bestScore) {
                bestScore = score;
                best = plane;
            }
        }
        return best;
    }
};

}  // namespace

BspResult build_bsp_tree(Mesh& mesh) {
    BspResult result;
    if (mesh.polygons.empty()) return result;
    Builder builder(mesh);
    builder.build(std::move(mesh.polygons));
    mesh.polygons = std::move(builder.placed);
    result.nodes = std::move(builder.nodes);
    result.splits = builder.splits;
    return result;
}

int fix_t_junctions(Mesh& mesh) {
    constexpr double kCell = 32.0;
    constexpr double kOnLine = 1e-3;
    const auto cellOf = [&](double v) { return static_cast<long long>(std::floor(v / kCell)); };
    const auto key = [](long long x, long long y, long long z) {
        return (static_cast<unsigned long long>(x & 0x1FFFFF) << 42) |
               (static_cast<unsigned long long>(y & 0x1FFFFF) << 21) | static_cast<unsigned long long>(z & 0x1FFFFF);
    };
    std::unordered_map<unsigned long long, std::vector<int>> buckets;
    for (std::size_t i = 0; i < mesh.points.size(); ++i) {
        const Point3& p = mesh.points[i];
        buckets[key(cellOf(p.x), cellOf(p.y), cellOf(p.z))].push_back(static_cast<int>(i));
    }
    int inserted = 0;
    for (MeshPolygon& polygon : mesh.polygons) {
        std::vector<int> result;
        const std::size_t n = polygon.points.size();
        for (std::size_t k = 0; k < n; ++k) {
            const int ia = polygon.points[k];
            const int ib = polygon.points[(k + 1) % n];
            result.push_back(ia);
            const Point3 a = mesh.points[ia];
            const Point3 b = mesh.points[ib];
            const Point3 ab = b - a;
            const double len2 = dot3(ab, ab);
            if (len2 <= 0.0) continue;
            std::vector<std::pair<double, int>> onEdge;
            for (long long x = cellOf(std::min(a.x, b.x) - kOnLine); x <= cellOf(std::max(a.x, b.x) + kOnLine); ++x) {
                for (long long y = cellOf(std::min(a.y, b.y) - kOnLine); y <= cellOf(std::max(a.y, b.y) + kOnLine); ++y) {
                    for (long long z = cellOf(std::min(a.z, b.z) - kOnLine);
                         z <= cellOf(std::max(a.z, b.z) + kOnLine); ++z) {
                        const auto found = buckets.find(key(x, y, z));
                        if (found == buckets.end()) continue;
                        for (const int ip : found->second) {
                            if (ip == ia || ip == ib) continue;
                            const Point3 ap = mesh.points[ip] - a;
                            const double t = dot3(ap, ab) / len2;
                            if (t <= 1e-9 || t >= 1.0 - 1e-9) continue;
                            const Point3 off = ap - ab * t;
                            if (dot3(off, off) > kOnLine * kOnLine) continue;
                            if (std::find(polygon.points.begin(), polygon.points.end(), ip) != polygon.points.end()) {
                                continue;
                            }
                            onEdge.emplace_back(t, ip);
                        }
                    }
                }
            }
            std::sort(onEdge.begin(), onEdge.end());
            for (const auto& entry : onEdge) {
                if (!result.empty() && result.back() == entry.second) continue;
                result.push_back(entry.second);
                ++inserted;
            }
        }
        polygon.points = std::move(result);
    }
    return inserted;
}
