// Geometry: the collision tests.
#include "math/Geometry.h"

CVector3 polygonNormal(const CVector3* polygon) {
    CVector3 e1 = polygon[2] - polygon[0];
    CVector3 e2 = polygon[1] - polygon[0];
    return normalized(crossProduct(e1, e2));
}

CVector3 nearestPointOnSegment(const CVector3& a, const CVector3& b, const CVector3& p) {
    CVector3 v = p - a;
    CVector3 dir = normalized(b - a);
    float len = pointDistance(a, b);
    float t = static_cast<float>(dotProduct(dir, v));
    if (t <= 0.0f) {
        return a;
    }
    if (t >= len) {
        return b;
    }
    return a + dir * t;
}

float planeOffset(const CVector3& n, const CVector3& p) {
    return -static_cast<float>(dotProduct(n, p));
}

bool segmentSpansPlane(const CVector3* polygon, const CVector3* segment, CVector3& outNormal,
                       float& outOffset) {
    outNormal = polygonNormal(polygon);
    outOffset = planeOffset(outNormal, polygon[0]);
    float d1 = static_cast<float>(dotProduct(outNormal, segment[0]) + outOffset);
    float d2 = static_cast<float>(dotProduct(outNormal, segment[1]) + outOffset);
    // In double so that two tiny distances cannot underflow to a product of zero.
    return double(d1) * d2 < 0.0;
}

CVector3 segmentPlanePoint(const CVector3& n, const CVector3* segment, double d) {
    CVector3 dir = normalized(segment[1] - segment[0]);
    double numerator = -(dotProduct(n, segment[0]) + d);
    double denominator = dotProduct(n, dir);
    if (denominator == 0.0) {
        return segment[0];
    }
    double t = numerator / denominator;
    return CVector3(static_cast<float>(segment[0].x + dir.x * t),
                    static_cast<float>(segment[0].y + dir.y * t),
                    static_cast<float>(segment[0].z + dir.z * t));
}

bool pointInPolygon(const CVector3& p, const CVector3* polygon, int count) {
    if (count <= 0) {
        return false;
    }
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
        sum += angleBetween(polygon[i] - p, polygon[(i + 1) % count] - p);
    }
    return sum >= IN_POLYGON_ANGLE_SUM;
}

bool segmentHitsPolygon(const CVector3* polygon, const CVector3* segment, int count) {
    // Fewer than three vertices make no plane; the normal would read past the array.
    if (count < 3) {
        return false;
    }
    CVector3 n;
    float d = 0.0f;
    if (!segmentSpansPlane(polygon, segment, n, d)) {
        return false;
    }
    CVector3 q = segmentPlanePoint(n, segment, double(d));
    return pointInPolygon(q, polygon, count);
}

SphereSide sphereSide(const CVector3& centre, const CVector3& n, const CVector3& pointOnPlane,
                      float radius, float& outDistance) {
    float d = planeOffset(n, pointOnPlane);
    outDistance = static_cast<float>(dotProduct(n, centre) + d);
    if (absValue(outDistance) < radius) {
        return SphereSide::Intersects;
    }
    if (outDistance >= radius) {
        return SphereSide::InFront;
    }
    return SphereSide::Behind;
}

bool sphereTouchesEdges(const CVector3& centre, const CVector3* polygon, int count, float radius) {
    for (int i = 0; i < count; ++i) {
        CVector3 q = nearestPointOnSegment(polygon[i], polygon[(i + 1) % count], centre);
        if (pointDistance(q, centre) < radius) {
            return true;
        }
    }
    return false;
}

bool sphereHitsPolygon(const CVector3* polygon, const CVector3& centre, int count, float radius) {
    // Fewer than three vertices make no plane; the normal would read past the array.
    if (count < 3) {
        return false;
    }
    CVector3 n = polygonNormal(polygon);
    float distance = 0.0f;
    if (sphereSide(centre, n, polygon[0], radius, distance) != SphereSide::Intersects) {
        return false;
    }
    CVector3 projected = centre - n * distance;
    // The whole polygon, not just its first triangle: a sphere resting on the far half of a
    // quad must be found even when it touches no edge.
    if (pointInPolygon(projected, polygon, count)) {
        return true;
    }
    return sphereTouchesEdges(centre, polygon, count, radius);
}

CVector3 spherePushOut(const CVector3& n, float radius, float distance) {
    if (distance > 0.0f) {
        return n * (radius - distance);
    }
    return n * (-(radius + distance));
}

int insideEdge(const CVector3& a, const CVector3& b, const CVector3& p, const CVector3& n) {
    CVector3 e = b - a;
    CVector3 w = p - a;
    CVector3 c = crossProduct(e, w);
    float s = static_cast<float>(dotProduct(n, c));
    return s < 0.0f ? 0 : 1;
}

bool rayHitsTriangle(const CVector3& a, const CVector3& b, const CVector3& c, const CVector3& o,
                     const CVector3& v, CVector3& outHit) {
    CVector3 e1 = b - a;
    CVector3 e2 = c - b;
    CVector3 normal = crossProduct(e1, e2);
    float s = static_cast<float>(dotProduct(normal, v));
    // Only rays travelling against the normal can hit the front face.
    if (!(s < 0.0f)) {
        return false;
    }
    float t = static_cast<float>(-dotProduct(normal, o - a) / dotProduct(normal, v));
    if (t < 0.0f) {
        return false;
    }
    outHit = o + v * t;
    return insideEdge(a, b, outHit, normal) == 1 && insideEdge(b, c, outHit, normal) == 1 &&
           insideEdge(c, a, outHit, normal) == 1;
}
