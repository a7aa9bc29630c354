#pragma once
// Single-precision 3-vectors: points, directions, face normals and texture
// coordinates (read as u, v, w). Nothing is ever normalised here.

struct Matrix3;

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    void set(float nx, float ny, float nz) {
        x = nx;
        y = ny;
        z = nz;
    }
    void clear() { set(0.0f, 0.0f, 0.0f); }
    void setFrom(const float* px, const float* py, const float* pz) { set(*px, *py, *pz); }
    void copyFrom(const Vec3& b) {
        if (&b != this) *this = b;
    }
    // Every operation computes its whole result before storing it, so `out`
    // may be this vector or the other operand.
    Vec3& add(const Vec3& b, Vec3& out) const {
        out.set(x + b.x, y + b.y, z + b.z);
        return out;
    }
    Vec3& subtract(const Vec3& b, Vec3& out) const {
        out.set(x - b.x, y - b.y, z - b.z);
        return out;
    }
    void addInPlace(const Vec3& b) {
        x += b.x;
        y += b.y;
        z += b.z;
    }
    Vec3& negate(Vec3& out) const {
        out.set(-x, -y, -z);
        return out;
    }
    // out = M·a (a as a column vector).
    Vec3& transform(const Matrix3& m, Vec3& out) const;
    // out = aᵀ·M (a as a row vector).
    Vec3& mulRow(const Matrix3& m, Vec3& out) const;
    void mulRowInPlace(const Matrix3& m) { mulRow(m, *this); }

    friend bool operator==(const Vec3&, const Vec3&) = default;
};

inline float dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
