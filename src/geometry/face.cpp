#include "geometry/face.h"

#include "geometry/trig.h"

SlopeClass classifySlope(const Vec3& normal) {
    // Thresholds are table cosines (5, 45 and 85 degrees) meant for unit
    // normals; a longer normal is classified by its raw y.
    const float y = normal.y;
    if (y > cosTable[5]) return SlopeClass::FlatFloor;
    if (y > cosTable[45]) return SlopeClass::SlopedFloor;
    if (y < -cosTable[5]) return SlopeClass::FlatCeiling;
    if (y < -cosTable[85]) return SlopeClass::SlopedCeiling;
    return SlopeClass::Wall;
}

void Face::setNormal(float x, float y, float z) {
    normal.set(x, y, z);
    slopeClass = classifySlope(normal);
}

void Face::setColour(SurfaceKind newKind, std::int32_t newColour) {
    kind = newKind;
    texture = 0;
    colour = newColour;
}

void Face::setTexture(SurfaceKind newKind, std::int32_t textureNumber) {
    kind = newKind;
    texture = textureNumber;
}

bool Face::setMapping(const MappingBlock& block, bool refuseSingular) {
    const Vec3& p0 = block[0];
    const Vec3& p1 = block[1];
    const Vec3& p2 = block[2];
    // Texture coordinates are two-dimensional: w is dropped first.
    Vec3 t0 = block[3];
    Vec3 t1 = block[4];
    Vec3 t2 = block[5];
    t0.z = 0.0f;
    t1.z = 0.0f;
    t2.z = 0.0f;

    Vec3 d1, d2, e1, e2;
    p1.subtract(p0, d1);
    p2.subtract(p0, d2);
    t1.subtract(t0, e1);
    t2.subtract(t0, e2);

    // Columns d1, d2 and the normal: a step of one normal length off the
    // face changes the third texture component by 1.
    Matrix3 fromModel;
    fromModel.set(d1.x, d2.x, normal.x, d1.y, d2.y, normal.y, d1.z, d2.z, normal.z);
    Matrix3 toTexture;
    toTexture.set(e1.x, e2.x, 0.0f, e1.y, e2.y, 0.0f, 0.0f, 0.0f, 1.0f);

    if (refuseSingular) {
        // The same bounds as Matrix3::invert, which would end the program.
        const double det = fromModel.determinant();
        if (det > -0.0001 && det < 0.0001) return false;
    }
    Matrix3 inverse;
    fromModel.invert(inverse);
    toTexture.multiply(inverse, mapping);
    p0.negate(mapOrigin);
    texOrigin = t0;
    return true;
}
