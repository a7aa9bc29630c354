// Structural checks of compiled models.
#include "maze/model_check.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

std::string polygonName(int p) { return "polygon " + std::to_string(p + 1); }
std::string nodeName(int n) { return "node " + std::to_string(n + 1); }

class TreeChecker {
public:
    TreeChecker(const ModelData& model, double tolerance) : m_(model), tol_(tolerance) {
        nodeSeen_.assign(m_.nodes.size(), 0);
        polygonSeen_.assign(m_.polygons.size(), 0);
    }

    std::vector<ModelProblem> problems;

    void run() {
        checkPolygons();
        for (std::size_t n = 0; n < m_.nodes.size(); ++n) {
            const ModelNode& node = m_.nodes[n];
            for (const int link : {node.frontlist, node.backlist, node.fronttree, node.backtree}) {
                if (link < -1 || link >= static_cast<int>(m_.nodes.size())) {
                    add(nodeName(static_cast<int>(n)) + " links outside the tree");
                }
            }
            if (node.polygon < -1 || node.polygon >= static_cast<int>(m_.polygons.size())) {
                add(nodeName(static_cast<int>(n)) + " names a polygon out of range");
            }
        }
        if (!problems.empty()) return;
        if (m_.nodes.empty()) {
            if (!m_.polygons.empty()) add("polygons but no tree");
            return;
        }
        std::vector<int> all;
        subtree(0, all, 0);
        for (std::size_t p = 0; p < m_.polygons.size(); ++p) {
            if (polygonSeen_[p] == 0) add(polygonName(static_cast<int>(p)) + " is in no node");
        }
        for (std::size_t n = 0; n < m_.nodes.size(); ++n) {
            if (nodeSeen_[n] == 0) add(nodeName(static_cast<int>(n)) + " is not reached from the root");
        }
    }

private:
    const ModelData& m_;

    double tol_;
    std::vector<int> nodeSeen_;
    std::vector<int> polygonSeen_;

    void add(std::string text, std::vector<int> polygons = {}) {
        problems.push_back({std::move(text), std::move(polygons)});
    }

    bool enter(int node) {
        if (nodeSeen_[node]++ > 0) {
            add(nodeName(node) + " is reached twice");
            return false;
        }
        const int p = m_.nodes[node].polygon;
        if (p >= 0 && polygonSeen_[p]++ > 0) add(polygonName(p) + " is in two nodes");
        return true;
    }

    double distance(const Point3& origin, const Point3& normal, int polygonPoint) const {
        return dot3(m_.points[polygonPoint] - origin, normal);
    }

    // Collects the polygons of the subtree at `node` after checking it.
    void subtree(int node, std::vector<int>& out, int depth) {
        if (depth > 100000 || !enter(node)) return;
        const ModelNode& n = m_.nodes[node];
        std::vector<int> front;
        std::vector<int> back;
        if (n.fronttree >= 0) subtree(n.fronttree, front, depth + 1);
        if (n.backtree >= 0) subtree(n.backtree, back, depth + 1);
        if (n.polygon >= 0) {
            const ModelPolygon& own = m_.polygons[n.polygon];
            const Point3 origin = m_.points[own.points[0]];
            const Point3 normal = m_.faces[own.face].normal;
            out.push_back(n.polygon);
            chain(node, n.frontlist, true, origin, normal, out);
            chain(node, n.backlist, false, origin, normal, out);
            side(front, origin, normal, 1.0, node);
            side(back, origin, normal, -1.0, node);
        } else if (n.frontlist >= 0 || n.backlist >= 0) {
            add(nodeName(node) + " has chains but no polygon");
        }
        out.insert(out.end(), front.begin(), front.end());
        out.insert(out.end(), back.begin(), back.end());
    }

    void chain(int head, int link, bool frontChain, const Point3& origin, const Point3& normal, std::vector<int>& out) {
        int guard = 0;
        for (int node = link; node >= 0; node = frontChain ? m_.nodes[node].frontlist : m_.nodes[node].backlist) {
            if (++guard > static_cast<int>(m_.nodes.size()) || !enter(node)) return;
            const ModelNode& n = m_.nodes[node];
            if (n.polygon < 0) {
                add(nodeName(node) + " in a chain has no polygon");
                continue;
            }
            if (n.fronttree >= 0 || n.backtree >= 0) {
                add(nodeName(node) + " in a chain has subtrees, which are never walked");
            }
            if (!frontChain && n.frontlist >= 0) add(nodeName(node) + " in a back chain has a frontlist");
            if (frontChain && n.backlist >= 0) add(nodeName(node) + " in a front chain has a backlist");
            const ModelPolygon& polygon = m_.polygons[n.polygon];
            out.push_back(n.polygon);
            for (const int p : polygon.points) {
                if (std::fabs(distance(origin, normal, p)) > tol_) {
                    add(polygonName(n.polygon) + " in the chain of " + nodeName(head) + " is not in its plane",
                        {n.polygon, m_.nodes[head].polygon});
                    break;
                }
            }
            const double facing = dot3(m_.faces[polygon.face].normal, normal);
            if (frontChain ? facing <= 0.0 : facing >= 0.0) {
                add(polygonName(n.polygon) + " in the " + (frontChain ? "front" : "back") + " chain of " +
                        nodeName(head) + " faces the wrong way",
                    {n.polygon, m_.nodes[head].polygon});
            }
        }
    }

    void side(const std::vector<int>& polygons, const Point3& origin, const Point3& normal, double sign, int node) {
        for (const int p : polygons) {
            for (const int point : m_.polygons[p].points) {
                if (sign * distance(origin, normal, point) < -tol_) {
                    add(polygonName(p) + " lies on the wrong side of " + nodeName(node),
                        {p, m_.nodes[node].polygon});
                    break;
                }
            }
        }
    }

    void checkPolygons() {
        for (std::size_t f = 0; f < m_.faces.size(); ++f) {
            const double len = length3(m_.faces[f].normal);
            if (std::fabs(len - 1.0) > 1e-4) add("face " + std::to_string(f + 1) + " normal is not unit");
        }
        for (std::size_t i = 0; i < m_.polygons.size(); ++i) {
            const ModelPolygon& polygon = m_.polygons[i];
            const int pi = static_cast<int>(i);
            if (polygon.points.size() < 3) {
                add(polygonName(pi) + " has fewer than three points");
                continue;
            }
            if (polygon.face < 0 || polygon.face >= static_cast<int>(m_.faces.size())) {
                add(polygonName(pi) + " belongs to no face");
                continue;
            }
            for (const int p : polygon.points) {
                if (p < 0 || p >= static_cast<int>(m_.points.size())) {
                    add(polygonName(pi) + " has a point index out of range");
                    return;
                }
            }
            const Point3 normal = m_.faces[polygon.face].normal;
            const Point3 origin = m_.points[polygon.points[0]];
            std::vector<Point3> corners;
            bool planar = true;
            for (const int p : polygon.points) {
                corners.push_back(m_.points[p]);
                planar = planar && std::fabs(distance(origin, normal, p)) <= tol_;
            }
            if (!planar) add(polygonName(pi) + " is not in its face's plane", {pi});
            if (dot3(outline_normal(corners), normal) <= 0.0) {
                add(polygonName(pi) + " does not wind counter-clockwise around its normal", {pi});
            }
            // Convex: every corner turns the same way. A corner closer than
            // kBendBack to the line through its neighbours counts as on it:
            // closing a T-junction puts a neighbour's point into an edge it
            // lies within a thousandth of a unit of, on either side, and the
            // sliver that leaves is far below a pixel.
            constexpr double kBendBack = 2e-3;
            const std::size_t n = corners.size();
            for (std::size_t k = 0; k < n; ++k) {
                const Point3& a = corners[k];
                const Point3& b = corners[(k + 1) % n];
                const Point3& c = corners[(k + 2) % n];
                // |turn| is |c - a| times b's distance from the line a-c.
                const Point3 turn = cross3(b - a, c - b);
                if (dot3(turn, normal) < -kBendBack * length3(c - a)) {
                    add(polygonName(pi) + " is not convex", {pi});
                    break;
                }
            }
        }
    }
};

}  // namespace

std::vector<ModelProblem> find_tree_problems(const ModelData& model, double tolerance) {
    TreeChecker checker(model, tolerance);
    checker.run();
    return checker.problems;
}

std::vector<std::string> check_bsp_tree(const ModelData& model, double tolerance) {
    std::vector<std::string> texts;
    for (ModelProblem& problem : find_tree_problems(model, tolerance)) texts.push_back(std::move(problem.text));
    return texts;
}

std::vector<std::string> check_t_junctions(const ModelData& model) {
    std::vector<std::string> texts;
    for (ModelProblem& problem : find_crack_problems(model)) texts.push_back(std::move(problem.text));
    return texts;
}

std::vector<ModelProblem> find_crack_problems(const ModelData& model) {
    constexpr double kCell = 32.0;
    constexpr double kOnLine = 1e-3;
    const auto cellOf = [&](double v) { return static_cast<long long>(std::floor(v / kCell)); };
    std::map<std::tuple<long long, long long, long long>, std::vector<int>> buckets;
    for (std::size_t i = 0; i < model.points.size(); ++i) {
        const Point3& p = model.points[i];
        buckets[{cellOf(p.x), cellOf(p.y), cellOf(p.z)}].push_back(static_cast<int>(i));
    }
    std::vector<ModelProblem> problems;
    for (std::size_t i = 0; i < model.polygons.size(); ++i) {
        const ModelPolygon& polygon = model.polygons[i];
        const std::size_t n = polygon.points.size();
        for (std::size_t k = 0; k < n; ++k) {
            const Point3 a = model.points[polygon.points[k]];
            const Point3 b = model.points[polygon.points[(k + 1) % n]];
            const Point3 ab = b - a;
            const double len2 = dot3(ab, ab);
            if (len2 <= 0.0) continue;
            for (long long x = cellOf(std::min(a.x, b.x) - kOnLine); x <= cellOf(std::max(a.x, b.x) + kOnLine); ++x) {
                for (long long y = cellOf(std::min(a.y, b.y) - kOnLine); y <= cellOf(std::max(a.y, b.y) + kOnLine); ++y) {
                    for (long long z = cellOf(std::min(a.z, b.z) - kOnLine);
                         z <= cellOf(std::max(a.z, b.z) + kOnLine); ++z) {
                        const auto found = buckets.find({x, y, z});
                        if (found == buckets.end()) continue;
                        for (const int ip : found->second) {
                            const Point3 ap = model.points[ip] - a;
                            const double t = dot3(ap, ab) / len2;
                            if (t <= 1e-6 || t >= 1.0 - 1e-6) continue;
                            const Point3 off = ap - ab * t;
                            if (dot3(off, off) > kOnLine * kOnLine) continue;
                            problems.push_back({"point " + std::to_string(ip + 1) +
                                                    " lies inside an edge of polygon " + std::to_string(i + 1),
                                                {static_cast<int>(i)}});
                        }
                    }
                }
            }
        }
    }
    return problems;
}

namespace {

bool floorOrCeiling(const ModelData& model, const ModelPolygon& polygon) {
    // The game's slope classes from its float cosines: a floor rises less
    // than 45 degrees, a ceiling faces down more than 5.
    const float ny = static_cast<float>(model.faces[polygon.face].normal.y);
    return ny > 0.70710677f || ny < -0.0871558f;
}

}  // namespace

GridLoad collision_grid_load(const ModelData& model, int cellSize) {
    GridLoad load;
    if (model.points.empty()) return load;
    double xMin = model.points[0].x, xMax = xMin, zMin = model.points[0].z, zMax = zMin;
    for (const Point3& p : model.points) {
        xMin = std::min(xMin, p.x);
        xMax = std::max(xMax, p.x);
        zMin = std::min(zMin, p.z);
        zMax = std::max(zMax, p.z);
    }
    // The game's bounds: whole cells, never inside the points' extent.
    const auto low = [&](double v) { return (static_cast<int>(v) / cellSize - (v < 0 ? 1 : 0)) * cellSize; };
    const auto high = [&](double v) { return (static_cast<int>(v) / cellSize + (v >= 0 ? 1 : 0)) * cellSize; };
    const int minX = low(xMin), maxX = high(xMax), minZ = low(zMin), maxZ = high(zMax);
    const int columns = (maxX - minX) / cellSize;
    const int rows = (maxZ - minZ) / cellSize;
    std::vector<std::vector<int>> cells(static_cast<std::size_t>(columns) * rows);
    for (std::size_t p = 0; p < model.polygons.size(); ++p) {
        const ModelPolygon& polygon = model.polygons[p];
        if (!floorOrCeiling(model, polygon)) continue;
        double px0 = 1e30, px1 = -1e30, pz0 = 1e30, pz1 = -1e30;
        for (const int i : polygon.points) {
            px0 = std::min(px0, model.points[i].x);
            px1 = std::max(px1, model.points[i].x);
            pz0 = std::min(pz0, model.points[i].z);
            pz1 = std::max(pz1, model.points[i].z);
        }
        const int c0 = static_cast<int>((px0 - minX) / cellSize), c1 = static_cast<int>((px1 - minX) / cellSize);
        const int r0 = static_cast<int>((pz0 - minZ) / cellSize), r1 = static_cast<int>((pz1 - minZ) / cellSize);
        for (int c = c0; c <= std::min(c1, columns - 1); ++c) {
            for (int r = r0; r <= std::min(r1, rows - 1); ++r) {
                std::vector<int>& cell = cells[static_cast<std::size_t>(r) * columns + c];
                cell.push_back(static_cast<int>(p));
                if (static_cast<int>(cell.size()) > load.maxEntries) {
                    load.maxEntries = static_cast<int>(cell.size());
                    load.cellX = minX + c * cellSize;
                    load.cellZ = minZ + r * cellSize;
                    load.polygons = cell;
                }
            }
        }
    }
    return load;
}
