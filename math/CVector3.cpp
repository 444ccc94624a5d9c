// CVector3 and the free vector functions.
#include "math/CVector3.h"

#include <cmath>

CVector3 CVector3::operator-(const CVector3& b) const {
    return CVector3(x - b.x, y - b.y, z - b.z);
}

CVector3 CVector3::operator+(const CVector3& b) const {
    return CVector3(x + b.x, y + b.y, z + b.z);
}

CVector3 CVector3::operator*(float s) const {
    return CVector3(x * s, y * s, z * s);
}

float absValue(float f) {
    return f < 0.0f ? 0.0f - f : f;
}

CVector3 crossProduct(const CVector3& a, const CVector3& b) {
    return CVector3(static_cast<float>(double(a.y) * b.z - double(a.z) * b.y),
                    static_cast<float>(double(a.z) * b.x - double(a.x) * b.z),
                    static_cast<float>(double(a.x) * b.y - double(a.y) * b.x));
}

float vectorLength(const CVector3& v) {
    double sum = double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z;
    return static_cast<float>(std::sqrt(sum));
}

CVector3 normalized(const CVector3& v) {
    float length = vectorLength(v);
    return CVector3(v.x / length, v.y / length, v.z / length);
}

float pointDistance(const CVector3& a, const CVector3& b) {
    double dx = double(b.x) - a.x;
    double dy = double(b.y) - a.y;
    double dz = double(b.z) - a.z;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

double dotProduct(const CVector3& a, const CVector3& b) {
    return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z;
}

double angleBetween(const CVector3& a, const CVector3& b) {
    float d = static_cast<float>(dotProduct(a, b));
    float m = static_cast<float>(double(vectorLength(b)) * vectorLength(a));
    double cosine = double(d) / m;
    // Rounding can push |d / m| a hair past 1; clamping keeps nearly opposite vectors at pi
    // instead of turning them into a not-a-number (and so 0).
    if (cosine > 1.0) {
        cosine = 1.0;
    } else if (cosine < -1.0) {
        cosine = -1.0;
    }
    double angle = std::acos(cosine);
    return std::isnan(angle) ? 0.0 : angle;
}

CVector3 subtractVectors(const CVector3& a, const CVector3& b) {
    return CVector3(a.x - b.x, a.y - b.y, a.z - b.z);
}

CVector3 addVectors(const CVector3& a, const CVector3& b) {
    return CVector3(a.x + b.x, a.y + b.y, a.z + b.z);
}

CVector3 divideVector(const CVector3& a, float s) {
    return CVector3(a.x / s, a.y / s, a.z / s);
}
