#include <gtest/gtest.h>

#include "geometry/matrix3.h"
#include "geometry/trig.h"

TEST(Matrix3, IdentityTimesIdentity) {
    Matrix3 a = Matrix3::identity();
    Matrix3 out;
    a.multiply(a, out);
    EXPECT_EQ(out, Matrix3::identity());
}
