#include "geometry/matrix3.h"

#include "framework/fatal.h"
#include "geometry/trig.h"

Vec3& Vec3::transform(const Matrix3& a, Vec3& out) const {
    const float nx = a.m[0] * x + a.m[1] * y + a.m[2] * z;
    const float ny = a.m[3] * x + a.m[4] * y + a.m[5] * z;
    const float nz = a.m[6] * x + a.m[7] * y + a.m[8] * z;
    out.set(nx, ny, nz);
    return out;
}

Vec3& Vec3::mulRow(const Matrix3& a, Vec3& out) const {
    const float nx = x * a.m[0] + y * a.m[3] + z * a.m[6];
    const float ny = x * a.m[1] + y * a.m[4] + z * a.m[7];
    const float nz = x * a.m[2] + y * a.m[5] + z * a.m[8];
    out.set(nx, ny, nz);
    return out;
}

void Matrix3::clear() {
    for (float& v : m) v = 0.0f;
}

void Matrix3::set(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7,
                  float m8) {
    m[0] = m0;
    m[1] = m1;
    m[2] = m2;
    m[3] = m3;
    m[4] = m4;
    m[5] = m5;
    m[6] = m6;
    m[7] = m7;
    m[8] = m8;
}

Matrix3& Matrix3::multiply(const Matrix3& b, Matrix3& out) const {
    float r[9];
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            r[3 * row + col] = m[3 * row] * b.m[col] + m[3 * row + 1] * b.m[3 + col] +
                               m[3 * row + 2] * b.m[6 + col];
        }
    }
    for (int i = 0; i < 9; ++i) out.m[i] = r[i];
    return out;
}

void Matrix3::rotateX(int angle) {
    const CosSin cs = cosSinOf(angle);
    for (int row = 0; row < 3; ++row) {
        const float p = m[3 * row + 1];
        const float q = m[3 * row + 2];
        m[3 * row + 1] = cs.c * p + cs.s * q;
        m[3 * row + 2] = cs.c * q - cs.s * p;
    }
}

void Matrix3::rotateY(int angle) {
    const CosSin cs = cosSinOf(angle);
    for (int row = 0; row < 3; ++row) {
        const float p = m[3 * row];
        const float q = m[3 * row + 2];
        m[3 * row] = cs.c * p - cs.s * q;
        m[3 * row + 2] = cs.s * p + cs.c * q;
    }
}

float Matrix3::determinant() const {
    float det = 0.0f;
    for (int i = 0; i < 3; ++i) {
        det = det + m[i] * m[3 + (i + 1) % 3] * m[6 + (i + 2) % 3];
        det = det - m[i] * m[6 + (i + 1) % 3] * m[3 + (i + 2) % 3];
    }
    return det;
}

Matrix3& Matrix3::invert(Matrix3& out) const {
    const float det = determinant();
    // The bounds are doubles: the float nearest 0.0001 lies below them and
    // is refused.
    if (static_cast<double>(det) > -0.0001 && static_cast<double>(det) < 0.0001) {
        gfx_fatal_error("Die Inverse kann nicht berechnet werden!");
    }
    const float adjugate[9] = {
        m[4] * m[8] - m[7] * m[5],    -(m[1] * m[8] - m[2] * m[7]), m[1] * m[5] - m[2] * m[4],
        -(m[3] * m[8] - m[6] * m[5]), m[0] * m[8] - m[6] * m[2],    -(m[0] * m[5] - m[3] * m[2]),
        m[3] * m[7] - m[6] * m[4],    -(m[0] * m[7] - m[6] * m[1]), m[0] * m[4] - m[3] * m[1],
    };
    const float f = 1.0f / det;
    for (int i = 0; i < 9; ++i) out.m[i] = adjugate[i] * f;
    return out;
}
