#pragma once
// The compiler's working geometry: shared points, convex polygons with unit
// normals, and the surfaces (colour or texture) they are made of. Coordinates
// are doubles while compiling so that splits of axis-aligned geometry stay
// exact; they become the file's single-precision reals only when written.

#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

struct Point3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    Point3 operator+(const Point3& b) const { return {x + b.x, y + b.y, z + b.z}; }
    Point3 operator-(const Point3& b) const { return {x - b.x, y - b.y, z - b.z}; }
    Point3 operator*(double s) const { return {x * s, y * s, z * s}; }
    friend bool operator==(const Point3&, const Point3&) = default;
};

inline double dot3(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Point3 cross3(const Point3& a, const Point3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length3(const Point3& a) { return std::sqrt(dot3(a, a)); }
inline Point3 normalized3(const Point3& a) {
    const double len = length3(a);
    return len > 0.0 ? a * (1.0 / len) : a;
}

// What a face is made of. Kinds 0-2 are drawn flat in `colour` (a palette
// index), kinds 3-5 with the texture `texture` repeated every `scale` world
// units, aligned to world coordinates so that neighbouring faces match.
struct Surface {
    int kind = 3;
    int colour = 0;
    std::string texture;
    double scale = 128.0;

    bool textured() const { return kind >= 3; }
    friend bool operator==(const Surface&, const Surface&) = default;
};

// A convex, planar polygon. Its vertices run counter-clockwise seen from the
// side `normal` points to, which is the side it is drawn from.
struct MeshPolygon {
    std::vector<int> points;  // 0-based indices into Mesh::points
    Point3 normal;            // unit length
    int surface = 0;          // index into Mesh::surfaces
    int part = -1;            // the source line that made it (its pieces keep it); -1 for none
};

class Mesh {
public:
    std::vector<Point3> points;
    std::vector<MeshPolygon> polygons;
    std::vector<Surface> surfaces;
    // The source line whose polygons are being added, given to each one so
    // that a message can name the line.
    int part = -1;

    // The index of an equal point (within 1/1024 of a unit) or of a new one:
    // polygons that meet share their points.
    int addPoint(const Point3& p);
    int addSurface(const Surface& s);
    // Adds a polygon from its corners in order; the normal is taken from the
    // winding. Repeated corners are dropped; fewer than three distinct corners
    // add nothing and give false.
    bool addPolygon(const std::vector<Point3>& corners, int surface);
    // Adds a convex polygon with a given unit normal, whatever its winding;
    // the corners are reversed when they wind the other way.
    bool addPolygonFacing(std::vector<Point3> corners, const Point3& normal, int surface);

private:
    std::unordered_map<std::uint64_t, std::vector<int>> pointBuckets_;
};

// Newell's normal of a polygon's outline (not normalised; zero for no area).
Point3 outline_normal(const std::vector<Point3>& corners);
