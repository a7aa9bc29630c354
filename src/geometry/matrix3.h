#pragma once
// Row-major 3x3 single-precision matrices; m[3r + c] is row r, column c.
// Orientations only: positions are always kept apart.

#include "geometry/vec3.h"

struct Matrix3 {
    float m[9] = {};

    static Matrix3 identity() {
        Matrix3 result;
        result.set(1, 0, 0, 0, 1, 0, 0, 0, 1);
        return result;
    }

    void clear();
    void set(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7,
             float m8);
    void copyFrom(const Matrix3& b) {
        if (&b != this) *this = b;
    }
    Vec3& transform(const Vec3& v, Vec3& out) const { return v.transform(*this, out); }
    // out = A·B; out may be this matrix or B.
    Matrix3& multiply(const Matrix3& b, Matrix3& out) const;
    void multiplyInPlace(const Matrix3& b) { multiply(b, *this); }
    // A = A·Rx(angle) and A = A·Ry(angle), angle in whole degrees -359..359.
    void rotateX(int angle);
    void rotateY(int angle);
    float determinant() const;
    // out = A⁻¹; a nearly singular matrix ends the program.
    Matrix3& invert(Matrix3& out) const;

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
    friend bool operator==(const Matrix3&, const Matrix3&) = default;
};
