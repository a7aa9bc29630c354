#pragma once
// A face groups the coplanar polygons of a model: it carries their normal,
// their colour or texture and the texture mapping their coordinates come from.

#include <array>
#include <cstdint>

#include "geometry/matrix3.h"
#include "geometry/vec3.h"

struct GfxBitmap;

// Kinds 0 to 2 are drawn flat in the face's colour, 3 to 5 textured; within
// each group the kinds are treated alike.
enum class SurfaceKind : std::int32_t {
    Colour0 = 0,
    Colour1 = 1,
    Colour2 = 2,
    Texture3 = 3,
    Texture4 = 4,
    Texture5 = 5,
};

inline bool isTextured(SurfaceKind kind) {
    return static_cast<std::int32_t>(kind) >= 3;
}

// Orientation class of a face from the y of its stored (not normalised)
// normal; the collision grid enters only classes below Wall.
enum class SlopeClass : std::int32_t {
    FlatFloor = 0,
    SlopedFloor = 1,
    FlatCeiling = 2,
    SlopedCeiling = 3,
    Wall = 4,
};

SlopeClass classifySlope(const Vec3& normal);

// The six vectors of a correspondence block: points p0, p1, p2 on the face,
// then the texture coordinates t0, t1, t2 they are to receive.
using MappingBlock = std::array<Vec3, 6>;

struct Face {
    const GfxBitmap* bitmap = nullptr;  // owned by the TextureList
    std::int32_t texture = -1;          // 1-based in the TextureList; 0 colour; -1 unknown name
    std::int32_t colour = 0;            // palette index of a colour face
    SurfaceKind kind = SurfaceKind::Colour0;
    Vec3 normal;
    SlopeClass slopeClass = SlopeClass::Wall;
    Vec3 mapOrigin;   // minus the first reference point
    Vec3 texOrigin;   // texture coordinate of that point, w = 0
    Matrix3 mapping;  // model-space offset from the reference point -> texture offset

    void setNormal(float x, float y, float z);
    void setColour(SurfaceKind newKind, std::int32_t newColour);
    void setTexture(SurfaceKind newKind, std::int32_t textureNumber);

    // Derives mapOrigin, texOrigin and mapping. A block whose points and
    // normal give a nearly singular matrix ends the program, unless
    // refuseSingular is set: then it returns false and changes nothing
    // (used by `krvtool check` to report the block instead of exiting).
    bool setMapping(const MappingBlock& block, bool refuseSingular = false);

    bool textured() const { return isTextured(kind); }
};
