// The vector types and free vector functions: worked values, the zero-length cases and the
// clamped angle of nearly opposite vectors.
#include <gtest/gtest.h>

#include <cmath>

#include "math/CPosition2D.h"
#include "math/CVector2.h"
#include "math/CVector3.h"

namespace {

const double kPi = 3.14159265358979323846;

void ExpectVector(const CVector3& v, float x, float y, float z, float tolerance = 1e-6f) {
    EXPECT_NEAR(x, v.x, tolerance);
    EXPECT_NEAR(y, v.y, tolerance);
    EXPECT_NEAR(z, v.z, tolerance);
}

}  // namespace

TEST(Vectors, DefaultsReadAsZero) {
    CVector2 v2;
    CPosition2D p;
    CVector3 v3;
    EXPECT_EQ(0.0f, v2.x);
    EXPECT_EQ(0.0f, v2.y);
    EXPECT_EQ(0.0f, p.position.x);
    EXPECT_EQ(0.0f, p.position.y);
    ExpectVector(v3, 0.0f, 0.0f, 0.0f, 0.0f);
}

TEST(Vectors, PositionMoversChain) {
    CPosition2D p(-1.0f, 0.0f);
    p.addX(5.0f).subY(2.0f);
    EXPECT_EQ(4.0f, p.position.x);
    EXPECT_EQ(-2.0f, p.position.y);
    p.add(1.0f, 1.0f);
    EXPECT_EQ(5.0f, p.position.x);
    EXPECT_EQ(-1.0f, p.position.y);
    p.subX(2.0f).addY(0.5f);
    EXPECT_EQ(3.0f, p.position.x);
    EXPECT_EQ(-0.5f, p.position.y);
    p.set(7.0f, 8.0f);
    EXPECT_EQ(7.0f, p.position.x);
    EXPECT_EQ(8.0f, p.position.y);
}

TEST(Vectors, AbsValueKeepsNegativeZero) {
    float negativeZero = absValue(-0.0f);
    EXPECT_EQ(0.0f, negativeZero);
    EXPECT_TRUE(std::signbit(negativeZero));
    EXPECT_EQ(2.5f, absValue(-2.5f));
    EXPECT_EQ(2.5f, absValue(2.5f));
}

TEST(Vectors, ArithmeticLeavesOperandsAlone) {
    CVector3 a(1.0f, 2.0f, 3.0f);
    CVector3 b(0.5f, -1.0f, 4.0f);
    ExpectVector(a - b, 0.5f, 3.0f, -1.0f, 0.0f);
    ExpectVector(a + b, 1.5f, 1.0f, 7.0f, 0.0f);
    ExpectVector(a * -2.0f, -2.0f, -4.0f, -6.0f, 0.0f);
    ExpectVector(subtractVectors(a, b), 0.5f, 3.0f, -1.0f, 0.0f);
    ExpectVector(addVectors(a, b), 1.5f, 1.0f, 7.0f, 0.0f);
    ExpectVector(divideVector(a, 2.0f), 0.5f, 1.0f, 1.5f, 0.0f);
    ExpectVector(a, 1.0f, 2.0f, 3.0f, 0.0f);
    ExpectVector(b, 0.5f, -1.0f, 4.0f, 0.0f);
    EXPECT_DOUBLE_EQ(10.5, dotProduct(a, b));
}

TEST(Vectors, CrossProductLengthAndDistance) {
    ExpectVector(crossProduct(CVector3(1, 0, 0), CVector3(0, 1, 0)), 0.0f, 0.0f, 1.0f, 0.0f);
    ExpectVector(crossProduct(CVector3(0, 1, 0), CVector3(1, 0, 0)), 0.0f, 0.0f, -1.0f, 0.0f);
    CVector3 v(2.0f, -3.0f, 5.0f);
    ExpectVector(crossProduct(v, v), 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(5.0f, vectorLength(CVector3(3.0f, 0.0f, 4.0f)));
    EXPECT_FLOAT_EQ(13.0f, pointDistance(CVector3(1.0f, 1.0f, 1.0f), CVector3(4.0f, 5.0f, 13.0f)));
}

TEST(Vectors, NormalizedHasNoZeroGuard) {
    ExpectVector(normalized(CVector3(3.0f, 0.0f, 4.0f)), 0.6f, 0.0f, 0.8f);
    CVector3 zero = normalized(CVector3());
    EXPECT_TRUE(std::isnan(zero.x));
    EXPECT_TRUE(std::isnan(zero.y));
    EXPECT_TRUE(std::isnan(zero.z));
}

TEST(Vectors, AngleBetweenWorkedValues) {
    EXPECT_NEAR(kPi / 2.0, angleBetween(CVector3(1, 0, 0), CVector3(0, 1, 0)), 1e-9);
    EXPECT_EQ(0.0, angleBetween(CVector3(1, 0, 0), CVector3(1, 0, 0)));
    EXPECT_NEAR(kPi, angleBetween(CVector3(1, 0, 0), CVector3(-1, 0, 0)), 1e-9);
    EXPECT_EQ(0.0, angleBetween(CVector3(), CVector3(1, 2, 3)));
    EXPECT_EQ(0.0, angleBetween(CVector3(1, 2, 3), CVector3()));
}

// Rounding pushes the cosine of these pairs a hair past -1 and +1; the angle must still be pi
// for the opposite pair and 0 for the parallel one.
TEST(Vectors, AngleBetweenClampsRoundedCosines) {
    CVector3 a(0.5f, 0.3f, 0.7f);
    CVector3 opposite = a * -3.0f;
    float d = static_cast<float>(dotProduct(a, opposite));
    float m = static_cast<float>(double(vectorLength(opposite)) * vectorLength(a));
    ASSERT_LT(double(d) / m, -1.0);
    EXPECT_NEAR(kPi, angleBetween(a, opposite), 1e-9);

    CVector3 b(0.3f, 0.3f, 0.7f);
    d = static_cast<float>(dotProduct(b, b));
    m = static_cast<float>(double(vectorLength(b)) * vectorLength(b));
    ASSERT_GT(double(d) / m, 1.0);
    EXPECT_EQ(0.0, angleBetween(b, b));
}
