// Shared points and polygon assembly for the content compiler.
#include "maze/mesh.h"

#include <algorithm>

namespace {

constexpr double kPointTolerance = 1.0 / 1024.0;

std::uint64_t bucketKey(long long bx, long long by, long long bz) {
    // 21 bits per axis of buckets one unit wide: far larger than any model.
    const auto part = [](long long v) { return static_cast<std::uint64_t>(v + (1LL << 20)) & 0x1FFFFF; };
    return (part(bx) << 42) | (part(by) << 21) | part(bz);
}

}  // namespace

Point3 outline_normal(const std::vector<Point3>& corners) {
    Point3 n;
    const std::size_t count = corners.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Point3& a = corners[i];
        const Point3& b = corners[(i + 1) % count];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

int Mesh::addPoint(const Point3& p) {
    const long long bx = static_cast<long long>(std::floor(p.x));
    const long long by = static_cast<long long>(std::floor(p.y));
    const long long bz = static_cast<long long>(std::floor(p.z));
    // A point near a bucket border may have its twin in the neighbour bucket.
    for (long long dx = -1; dx <= 1; ++dx) {
        for (long long dy = -1; dy <= 1; ++dy) {
            for (long long dz = -1; dz <= 1; ++dz) {
                const auto found = pointBuckets_.find(bucketKey(bx + dx, by + dy, bz + dz));
                if (found == pointBuckets_.end()) continue;
                for (const int index : found->second) {
                    const Point3& q = points[index];
                    if (std::fabs(q.x - p.x) <= kPointTolerance && std::fabs(q.y - p.y) <= kPointTolerance &&
                        std::fabs(q.z - p.z) <= kPointTolerance) {
                        return index;
                    }
                }
            }
        }
    }
    points.push_back(p);
    const int index = static_cast<int>(points.size()) - 1;
    pointBuckets_[bucketKey(bx, by, bz)].push_back(index);
    return index;
}

int Mesh::addSurface(const Surface& s) {
    const auto found = std::find(surfaces.begin(), surfaces.end(), s);
    if (found != surfaces.end()) return static_cast<int>(found - surfaces.begin());
    surfaces.push_back(s);
    return static_cast<int>(surfaces.size()) - 1;
}

bool Mesh::addPolygon(const std::vector<Point3>& corners, int surface) {
    const Point3 n = outline_normal(corners);
    if (length3(n) < 1e-9) return false;
    return addPolygonFacing(corners, normalized3(n), surface);
}

bool Mesh::addPolygonFacing(std::vector<Point3> corners, const Point3& normal, int surface) {
    if (dot3(outline_normal(corners), normal) < 0.0) std::reverse(corners.begin(), corners.end());
    MeshPolygon polygon;
    polygon.normal = normal;
    polygon.surface = surface;
    polygon.part = part;
    for (const Point3& c : corners) {
        const int index = addPoint(c);
        if (!polygon.points.empty() && polygon.points.back() == index) continue;
        polygon.points.push_back(index);
    }
    while (polygon.points.size() > 1 && polygon.points.front() == polygon.points.back()) {
        polygon.points.pop_back();
    }
    if (polygon.points.size() < 3) return false;
    polygons.push_back(std::move(polygon));
    return true;
}
