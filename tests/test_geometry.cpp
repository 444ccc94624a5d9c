// The collision library: polygon planes, segments against planes and polygons, spheres against
// planes and polygons (a sphere resting inside a quad's second half included) and rays against
// triangles.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math/Geometry.h"

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

::testing::AssertionResult Near(const CVector3& v, float x, float y, float z,
                                float tolerance = 1e-6f) {
    if (std::fabs(v.x - x) <= tolerance && std::fabs(v.y - y) <= tolerance &&
        std::fabs(v.z - z) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << v.x << ", " << v.y << ", " << v.z
                                         << "), expected (" << x << ", " << y << ", " << z << ")";
}

bool Same(const CVector3& a, const CVector3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// The unit square at height z, counter-clockwise seen from +z (so its normal is (0, 0, -1)).
struct Square {
    explicit Square(float z, float size = 1.0f)
        : v{CVector3(0, 0, z), CVector3(size, 0, z), CVector3(size, size, z),
            CVector3(0, size, z)} {}
    CVector3 v[4];
};

}  // namespace

TEST(GeometryPlanes, NormalComesFromTheFirstThreeVertices) {
    Square square(0.0f);
    EXPECT_TRUE(Near(polygonNormal(square.v), 0.0f, 0.0f, -1.0f));
    CVector3 reversed[3] = {CVector3(0, 0, 0), CVector3(0, 1, 0), CVector3(1, 1, 0)};
    EXPECT_TRUE(Near(polygonNormal(reversed), 0.0f, 0.0f, 1.0f));
    CVector3 tilted[3] = {CVector3(0, 0, 0), CVector3(1, 0, 0), CVector3(0, 1, 1)};
    EXPECT_TRUE(Near(polygonNormal(tilted), 0.0f, 0.70710678f, -0.70710678f));
    // A fourth vertex off the plane does not count.
    CVector3 bent[4] = {square.v[0], square.v[1], square.v[2], CVector3(0, 1, 5)};
    EXPECT_TRUE(Near(polygonNormal(bent), 0.0f, 0.0f, -1.0f));
    EXPECT_FLOAT_EQ(-3.0f, planeOffset(CVector3(0, 0, 1), CVector3(7, -2, 3)));
}

TEST(GeometryPlanes, NearestPointOnSegment) {
    CVector3 a(0, 0, 0);
    CVector3 b(2, 0, 0);
    EXPECT_TRUE(Same(b, nearestPointOnSegment(a, b, CVector3(3, 1, 0))));
    EXPECT_TRUE(Same(a, nearestPointOnSegment(a, b, CVector3(-1, 5, 0))));
    EXPECT_TRUE(Same(a, nearestPointOnSegment(a, b, CVector3(0, 5, 0))));
    EXPECT_TRUE(Near(nearestPointOnSegment(a, b, CVector3(0.5f, 1, -4)), 0.5f, 0.0f, 0.0f));
    // A segment of zero length has no direction: the result is not a number.
    CVector3 p = nearestPointOnSegment(a, a, CVector3(1, 1, 1));
    EXPECT_TRUE(std::isnan(p.x) && std::isnan(p.y) && std::isnan(p.z));
}

TEST(GeometryPlanes, SegmentSpansPlaneOnlyWithEndsStrictlyApart) {
    Square square(2.0f);
    CVector3 crossing[2] = {CVector3(0.5f, 0.5f, 3), CVector3(0.5f, 0.5f, -1)};
    CVector3 n(9, 9, 9);
    float d = 9.0f;
    EXPECT_TRUE(segmentSpansPlane(square.v, crossing, n, d));
    EXPECT_TRUE(Near(n, 0.0f, 0.0f, -1.0f));
    EXPECT_FLOAT_EQ(2.0f, d);

    // One end on the plane: no span, but the plane is still written.
    CVector3 touching[2] = {CVector3(0.5f, 0.5f, 2), CVector3(0.5f, 0.5f, 5)};
    n = CVector3(9, 9, 9);
    d = 9.0f;
    EXPECT_FALSE(segmentSpansPlane(square.v, touching, n, d));
    EXPECT_TRUE(Near(n, 0.0f, 0.0f, -1.0f));
    EXPECT_FLOAT_EQ(2.0f, d);

    CVector3 sameSide[2] = {CVector3(0, 0, 3), CVector3(5, 5, 4)};
    EXPECT_FALSE(segmentSpansPlane(square.v, sameSide, n, d));
}

TEST(GeometryPlanes, SegmentPlanePoint) {
    CVector3 n(0, 0, 1);
    // The line is followed beyond the segment's end.
    CVector3 rising[2] = {CVector3(1, 1, 0), CVector3(1, 1, 1)};
    EXPECT_TRUE(Near(segmentPlanePoint(n, rising, -2.0), 1.0f, 1.0f, 2.0f));
    CVector3 slanted[2] = {CVector3(0, 0, -1), CVector3(2, 0, 1)};
    EXPECT_TRUE(Near(segmentPlanePoint(n, slanted, 0.0), 1.0f, 0.0f, 0.0f, 1e-6f));
    CVector3 parallel[2] = {CVector3(3, 4, 5), CVector3(6, 4, 5)};
    EXPECT_TRUE(Same(parallel[0], segmentPlanePoint(n, parallel, -2.0)));
}

TEST(GeometryPolygons, PointInPolygonByAngleSum) {
    Square square(0.0f);
    EXPECT_TRUE(pointInPolygon(CVector3(0.5f, 0.5f, 0), square.v, 4));
    EXPECT_FALSE(pointInPolygon(CVector3(2, 0.5f, 0), square.v, 4));
    // On an edge the angle there is pi and the sum reaches a full turn.
    EXPECT_TRUE(pointInPolygon(CVector3(0.5f, 0, 0), square.v, 4));
    // On a vertex the zero-length side counts nothing.
    EXPECT_FALSE(pointInPolygon(CVector3(0, 0, 0), square.v, 4));
    // Off the plane above the middle the angles no longer add up to a full turn.
    EXPECT_FALSE(pointInPolygon(CVector3(0.5f, 0.5f, 1), square.v, 4));
    EXPECT_FALSE(pointInPolygon(CVector3(0.5f, 0.5f, 0), square.v, 0));
    EXPECT_FALSE(pointInPolygon(CVector3(0.5f, 0.5f, 0), square.v, -1));
}

TEST(GeometryPolygons, SegmentHitsPolygon) {
    Square square(0.0f);
    CVector3 through[2] = {CVector3(0.25f, 0.75f, 1), CVector3(0.25f, 0.75f, -1)};
    EXPECT_TRUE(segmentHitsPolygon(square.v, through, 4));
    CVector3 beside[2] = {CVector3(2, 0.5f, 1), CVector3(2, 0.5f, -1)};
    EXPECT_FALSE(segmentHitsPolygon(square.v, beside, 4));
    CVector3 short_[2] = {CVector3(0.5f, 0.5f, 1), CVector3(0.5f, 0.5f, 0.5f)};
    EXPECT_FALSE(segmentHitsPolygon(square.v, short_, 4));
    // Only the first triangle of the square counts with a count of 3.
    EXPECT_FALSE(segmentHitsPolygon(square.v, through, 3));
    // Two vertices make no plane; nothing past them is read.
    CVector3 line[2] = {CVector3(0, 0, 0), CVector3(1, 1, 0)};
    EXPECT_FALSE(segmentHitsPolygon(line, through, 2));
}

TEST(GeometrySpheres, SphereSideAtExactlyTheRadius) {
    CVector3 n(0, 0, 1);
    CVector3 onPlane(3, 3, 0);
    float distance = 99.0f;
    EXPECT_EQ(SphereSide::InFront, sphereSide(CVector3(0, 0, 1), n, onPlane, 1.0f, distance));
    EXPECT_FLOAT_EQ(1.0f, distance);
    distance = 99.0f;
    EXPECT_EQ(SphereSide::Behind, sphereSide(CVector3(0, 0, -1), n, onPlane, 1.0f, distance));
    EXPECT_FLOAT_EQ(-1.0f, distance);
    distance = 99.0f;
    EXPECT_EQ(SphereSide::Intersects,
              sphereSide(CVector3(5, -2, -0.5f), n, onPlane, 1.0f, distance));
    EXPECT_FLOAT_EQ(-0.5f, distance);
    EXPECT_EQ(SphereSide::InFront, sphereSide(CVector3(0, 0, 4), n, onPlane, 1.0f, distance));
    EXPECT_FLOAT_EQ(4.0f, distance);
    EXPECT_EQ(0, static_cast<int>(SphereSide::Behind));
    EXPECT_EQ(1, static_cast<int>(SphereSide::Intersects));
    EXPECT_EQ(2, static_cast<int>(SphereSide::InFront));
}

TEST(GeometrySpheres, SphereTouchesEdges) {
    Square square(0.0f);
    EXPECT_TRUE(sphereTouchesEdges(CVector3(0.5f, -0.5f, 0.1f), square.v, 4, 0.6f));
    EXPECT_FALSE(sphereTouchesEdges(CVector3(0.5f, -0.5f, 0.1f), square.v, 4, 0.5f));
    // The closing edge from the last vertex back to the first counts too.
    EXPECT_TRUE(sphereTouchesEdges(CVector3(-0.3f, 0.5f, 0), square.v, 4, 0.4f));
    EXPECT_FALSE(sphereTouchesEdges(CVector3(-0.3f, 0.5f, 0), square.v, 3, 0.4f));
    EXPECT_FALSE(sphereTouchesEdges(CVector3(0.5f, 0.5f, 0), square.v, 0, 5.0f));
}

TEST(GeometrySpheres, SphereHitsPolygon) {
    Square quad(0.0f, 10.0f);
    EXPECT_TRUE(sphereHitsPolygon(quad.v, CVector3(7, 3, 0.5f), 4, 1.0f));
    // Touching only an edge from outside.
    EXPECT_TRUE(sphereHitsPolygon(quad.v, CVector3(10.5f, 5, 0.2f), 4, 1.0f));
    EXPECT_FALSE(sphereHitsPolygon(quad.v, CVector3(12, 5, 0.5f), 4, 1.0f));
    // Clear of the plane, in front and behind.
    EXPECT_FALSE(sphereHitsPolygon(quad.v, CVector3(5, 5, 3), 4, 1.0f));
    EXPECT_FALSE(sphereHitsPolygon(quad.v, CVector3(5, 5, -1), 4, 1.0f));
    CVector3 segment[2] = {CVector3(5, 5, 0), CVector3(6, 6, 0)};
    EXPECT_FALSE(sphereHitsPolygon(segment, CVector3(5, 5, 0), 2, 1.0f));
}

// A small sphere resting on the half of a quad outside its first triangle, touching no edge,
// is inside the quad and must be found.
TEST(GeometrySpheres, SphereInsideTheSecondHalfOfAQuadIsFound) {
    Square quad(0.0f, 10.0f);
    CVector3 centre(2, 8, 0.5f);
    ASSERT_FALSE(pointInPolygon(CVector3(2, 8, 0), quad.v, 3));
    ASSERT_FALSE(sphereTouchesEdges(centre, quad.v, 4, 1.0f));
    EXPECT_TRUE(sphereHitsPolygon(quad.v, centre, 4, 1.0f));
    // As a triangle the same polygon really does miss it.
    EXPECT_FALSE(sphereHitsPolygon(quad.v, centre, 3, 1.0f));
}

TEST(GeometrySpheres, SpherePushOut) {
    CVector3 n(0, 0, 1);
    EXPECT_TRUE(Near(spherePushOut(n, 1.0f, 0.0f), 0.0f, 0.0f, -1.0f));
    EXPECT_TRUE(Near(spherePushOut(n, 1.0f, 0.25f), 0.0f, 0.0f, 0.75f));
    EXPECT_TRUE(Near(spherePushOut(n, 1.0f, -0.25f), 0.0f, 0.0f, -0.75f));
    EXPECT_TRUE(Near(spherePushOut(CVector3(0, 1, 0), 2.0f, 0.5f), 0.0f, 1.5f, 0.0f));
}

TEST(GeometryRays, InsideEdge) {
    CVector3 a(0, 0, 0);
    CVector3 b(1, 0, 0);
    CVector3 n(0, 0, 1);
    EXPECT_EQ(1, insideEdge(a, b, CVector3(0.5f, 1, 0), n));
    EXPECT_EQ(0, insideEdge(a, b, CVector3(0.5f, -1, 0), n));
    EXPECT_EQ(1, insideEdge(a, b, CVector3(3, 0, 0), n));
    EXPECT_EQ(1, insideEdge(a, b, CVector3(kNaN, kNaN, kNaN), n));
}

TEST(GeometryRays, RayHitsTriangleFromTheFront) {
    CVector3 a(0, 0, 0);
    CVector3 b(1, 0, 0);
    CVector3 c(0, 1, 0);
    CVector3 hit(9, 9, 9);
    EXPECT_TRUE(rayHitsTriangle(a, b, c, CVector3(0.2f, 0.2f, 1), CVector3(0, 0, -1), hit));
    EXPECT_TRUE(Near(hit, 0.2f, 0.2f, 0.0f));

    // Travelling with the normal never hits; the hit point is left alone.
    hit = CVector3(9, 9, 9);
    EXPECT_FALSE(rayHitsTriangle(a, b, c, CVector3(0.2f, 0.2f, 1), CVector3(0, 0, 1), hit));
    EXPECT_TRUE(Same(CVector3(9, 9, 9), hit));
    EXPECT_FALSE(rayHitsTriangle(a, b, c, CVector3(0.2f, 0.2f, -1), CVector3(0, 0, 1), hit));

    // The plane behind the origin.
    EXPECT_FALSE(rayHitsTriangle(a, b, c, CVector3(0.2f, 0.2f, -1), CVector3(0, 0, -1), hit));
    EXPECT_TRUE(Same(CVector3(9, 9, 9), hit));

    // Parallel to the plane.
    EXPECT_FALSE(rayHitsTriangle(a, b, c, CVector3(0.2f, 0.2f, 1), CVector3(1, 0, 0), hit));

    // Outside the triangle: the plane point is still written.
    EXPECT_FALSE(rayHitsTriangle(a, b, c, CVector3(0.8f, 0.8f, 2), CVector3(0, 0, -2), hit));
    EXPECT_TRUE(Near(hit, 0.8f, 0.8f, 0.0f));

    // An origin on the triangle is a hit at the origin.
    hit = CVector3(9, 9, 9);
    EXPECT_TRUE(rayHitsTriangle(a, b, c, CVector3(0.1f, 0.3f, 0), CVector3(0, 0, -1), hit));
    EXPECT_TRUE(Near(hit, 0.1f, 0.3f, 0.0f));

    // A slanted ray.
    EXPECT_TRUE(rayHitsTriangle(a, b, c, CVector3(-1, 0.25f, 2), CVector3(1, 0, -2), hit));
    EXPECT_TRUE(Near(hit, 0.0f, 0.25f, 0.0f));
}
