/// @file
/// CVector3: the three-float value type, with the free vector functions built on it.
/// Intermediate products and sums are formed in double precision and rounded to float only
/// where a result is stored.
#pragma once

/// The three-float value type of the 3D camera and the collision library. A plain value:
/// copy it freely; it needs no engine.
class CVector3 {
public:
    /// (0, 0, 0).
    CVector3() : x(0.0f), y(0.0f), z(0.0f) {}
    /// (x_, y_, z_).
    CVector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    /// Component-wise difference, sum, and product with a scalar.
    /// @{
    CVector3 operator-(const CVector3& b) const;
    CVector3 operator+(const CVector3& b) const;
    CVector3 operator*(float s) const;
    /// @}

    /// The components.
    /// @{
    float x;
    float y;
    float z;
    /// @}
};

/// 0 - f for negative f; -0.0 is returned unchanged (strict comparison with zero).
float absValue(float f);
/// The cross product a x b.
CVector3 crossProduct(const CVector3& a, const CVector3& b);
/// The Euclidean length.
float vectorLength(const CVector3& v);
/// No guard against zero length: a zero vector gives not-a-number components.
///
/// v divided by its length.
CVector3 normalized(const CVector3& v);
/// The distance between two points.
float pointDistance(const CVector3& a, const CVector3& b);
/// Full (double) precision; callers round it where they store it.
double dotProduct(const CVector3& a, const CVector3& b);
/// Angle in radians. The cosine is clamped to [-1, 1], so nearly opposite vectors give about pi;
/// a zero-length argument gives 0.0.
double angleBetween(const CVector3& a, const CVector3& b);
/// a - b, a + b and a / s, component by component.
/// @{
CVector3 subtractVectors(const CVector3& a, const CVector3& b);
CVector3 addVectors(const CVector3& a, const CVector3& b);
CVector3 divideVector(const CVector3& a, float s);
/// @}
