#include "geometry/matrix3.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/trig.h"

namespace {

class MathTest : public ::testing::Test {
protected:
    void SetUp() override { buildTrigTables(); }
};

Matrix3 sample() {
    Matrix3 a;
    a.set(1, 2, 3, 4, 5, 6, 7, 8, 10);
    return a;
}

void expectNear(const Matrix3& a, const Matrix3& b, float tolerance) {
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(a[i], b[i], tolerance) << "entry " << i;
}

void expectVecNear(const Vec3& a, const Vec3& b) {
    EXPECT_NEAR(a.x, b.x, 1e-6f);
    EXPECT_NEAR(a.y, b.y, 1e-6f);
    EXPECT_NEAR(a.z, b.z, 1e-6f);
}

}  // namespace

TEST_F(MathTest, TablesKeepTheTenDigitPiRounding) {
    EXPECT_NE(cosTable[90], 0.0f);
    EXPECT_NEAR(cosTable[90], -4.37e-8f, 1e-9f);
    EXPECT_NE(sinTable[180], 0.0f);
    EXPECT_NEAR(sinTable[180], -8.74e-8f, 1e-9f);
    EXPECT_FLOAT_EQ(cosTable[5], 0.9961947f);
    EXPECT_FLOAT_EQ(cosTable[45], 0.70710677f);
    EXPECT_FLOAT_EQ(cosTable[85], 0.0871558f);
}

TEST_F(MathTest, RotationsByZeroAndBackAgain) {
    Matrix3 a = sample();
    a.rotateX(0);
    a.rotateY(0);
    EXPECT_EQ(a, sample());
    a.rotateY(90);
    a.rotateY(-90);
    expectNear(a, sample(), 1e-5f);
}

TEST_F(MathTest, NegativeAnglesUseTheSignRule) {
    Matrix3 a = Matrix3::identity();
    a.rotateY(-30);
    const float c = cosTable[30];
    const float s = sinTable[30];
    Matrix3 expected;
    expected.set(c, 0, -s, 0, 1, 0, s, 0, c);
    EXPECT_EQ(a, expected);
}

TEST_F(MathTest, MultiplyIntoEitherOperand) {
    Matrix3 b;
    b.set(2, 0, 1, 0, 3, 0, 1, 1, 1);
    Matrix3 expected;
    sample().multiply(b, expected);
    EXPECT_EQ(expected[0], 1 * 2 + 2 * 0 + 3 * 1);
    EXPECT_EQ(expected[4], 1 * 0 + 5 * 3 + 6 * 1 - 0);

    Matrix3 a = sample();
    a.multiply(b, a);
    EXPECT_EQ(a, expected);

    Matrix3 b2 = b;
    sample().multiply(b2, b2);
    EXPECT_EQ(b2, expected);
}

TEST_F(MathTest, VectorOperationsMayWriteOntoTheirInput) {
    Matrix3 m;
    m.set(0, 1, 0, 0, 0, 1, 1, 0, 0);
    Vec3 v{1, 2, 3};
    v.transform(m, v);
    EXPECT_EQ(v, (Vec3{2, 3, 1}));
    Vec3 w{1, 2, 3};
    w.mulRow(m, w);
    EXPECT_EQ(w, (Vec3{3, 1, 2}));
    Vec3 x{1, 2, 3};
    x.subtract(Vec3{1, 1, 1}, x);
    EXPECT_EQ(x, (Vec3{0, 1, 2}));
    x.copyFrom(x);
    EXPECT_EQ(x, (Vec3{0, 1, 2}));
}

TEST_F(MathTest, InverseOfRegularMatrices) {
    Matrix3 out;
    Matrix3::identity().invert(out);
    EXPECT_EQ(out, Matrix3::identity());

    Matrix3 diagonal;
    diagonal.set(2, 0, 0, 0, 4, 0, 0, 0, 8);
    diagonal.invert(diagonal);
    Matrix3 expected;
    expected.set(0.5f, 0, 0, 0, 0.25f, 0, 0, 0, 0.125f);
    EXPECT_EQ(diagonal, expected);

    Matrix3 a = sample();
    Matrix3 inverse;
    a.invert(inverse);
    Matrix3 product;
    a.multiply(inverse, product);
    expectNear(product, Matrix3::identity(), 1e-5f);
}

TEST_F(MathTest, InverseRefusesANearlySingularMatrix) {
    Matrix3 nearlySingular;
    nearlySingular.set(0.00009f, 0, 0, 0, 1, 0, 0, 0, 1);
    Matrix3 out;
    EXPECT_EXIT(nearlySingular.invert(out), ::testing::ExitedWithCode(1),
                "Die Inverse kann nicht berechnet werden!");
}

TEST_F(MathTest, InverseBoundaryLiesBetweenTwoFloats) {
    // The float nearest 0.0001 is below the double bound and refused; the
    // next float up is accepted.
    const float below = 9.9999997e-05f;
    const float above = 1.00000005e-04f;
    ASSERT_LT(static_cast<double>(below), 0.0001);
    Matrix3 refused;
    refused.set(below, 0, 0, 0, 1, 0, 0, 0, 1);
    Matrix3 out;
    EXPECT_EXIT(refused.invert(out), ::testing::ExitedWithCode(1), "Inverse");
    Matrix3 accepted;
    accepted.set(above, 0, 0, 0, 1, 0, 0, 0, 1);
    accepted.invert(out);
    EXPECT_NEAR(out[0], 1.0f / above, 1.0f);
}

// Worked out apart from the code: A·Rx and A·Ry for a matrix with no
// symmetry, in double precision from the rotation matrices as written down
// (Rx = [[1,0,0],[0,c,-s],[0,s,c]], Ry = [[c,0,s],[0,1,0],[-s,0,c]]), and
// the quarter turns by where they send the axes. A sign error in either
// rotation, or a rotation applied from the wrong side, fails here.
TEST_F(MathTest, RotationsMatchTheirMatricesWorkedOutApart) {
    auto product = [](const Matrix3& a, const double r[9]) {
        Matrix3 out;
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                double sum = 0.0;
                for (int k = 0; k < 3; ++k) sum += double{a[3 * row + k]} * r[3 * k + col];
                out.m[3 * row + col] = static_cast<float>(sum);
            }
        }
        return out;
    };
    for (const int angle : {30, 90, 135, -45, -200}) {
        const double radians = angle * 3.14159265358979 / 180.0;
        const double c = std::cos(radians);
        const double s = std::sin(radians);
        const double rx[9] = {1, 0, 0, 0, c, -s, 0, s, c};
        const double ry[9] = {c, 0, s, 0, 1, 0, -s, 0, c};
        Matrix3 a = sample();
        a.rotateX(angle);
        expectNear(a, product(sample(), rx), 1e-5f);
        Matrix3 b = sample();
        b.rotateY(angle);
        expectNear(b, product(sample(), ry), 1e-5f);
    }

    // A quarter turn about x takes y to z; about y it takes z to x.
    Matrix3 x = Matrix3::identity();
    x.rotateX(90);
    Vec3 v;
    expectVecNear(x.transform(Vec3{0, 1, 0}, v), Vec3{0, 0, 1});
    expectVecNear(x.transform(Vec3{0, 0, 1}, v), Vec3{0, -1, 0});
    Matrix3 y = Matrix3::identity();
    y.rotateY(90);
    expectVecNear(y.transform(Vec3{0, 0, 1}, v), Vec3{1, 0, 0});
    expectVecNear(y.transform(Vec3{1, 0, 0}, v), Vec3{0, 0, -1});
}
