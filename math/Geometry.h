// Geometry: stateless collision tests on top of CVector3 for applications: polygon normals and
// planes, segment/plane and segment/polygon crossings, spheres against planes and polygons, and
// rays against triangles. A segment is an array of two points (start, end); a polygon is an
// array of vertices with a separate count, its plane always taken from its first three
// vertices. A plane is a unit normal n and an offset d with n . p + d = 0 on the plane.
// Intermediate sums are formed in double precision and rounded to float where stored.
#pragma once

#include "math/CVector3.h"

// How a sphere lies against a plane.
enum class SphereSide : int { Behind = 0, Intersects = 1, InFront = 2 };

// 0.99 of a full turn: a point whose vertex angles add up to this much is inside the polygon.
constexpr double IN_POLYGON_ANGLE_SUM = 6.220353454107791;

// Unit normal of the plane through polygon[0], polygon[1], polygon[2] (at least three vertices).
CVector3 polygonNormal(const CVector3* polygon);

// The point of segment a-b nearest to p; a or b exactly when p lies beyond an end.
CVector3 nearestPointOnSegment(const CVector3& a, const CVector3& b, const CVector3& p);

// The plane offset d = -(n . p) of the plane with normal n through p.
float planeOffset(const CVector3& n, const CVector3& p);

// True when the segment's ends lie strictly on opposite sides of the polygon's plane; an end on
// the plane gives false. The plane (normal and offset) is written in every case.
bool segmentSpansPlane(const CVector3* polygon, const CVector3* segment, CVector3& outNormal,
                       float& outOffset);

// Where the segment's line meets the plane (n, d); the segment's start when the segment runs
// parallel to the plane.
CVector3 segmentPlanePoint(const CVector3& n, const CVector3* segment, double d);

// True when p lies inside the polygon of count vertices (or on an edge), by the angles the
// vertices subtend at p. A count of 0 or less gives false.
bool pointInPolygon(const CVector3& p, const CVector3* polygon, int count);

// True when the segment passes through the polygon. Fewer than three vertices give false.
bool segmentHitsPolygon(const CVector3* polygon, const CVector3* segment, int count);

// Classifies a sphere against the plane with normal n through pointOnPlane; a sphere exactly
// touching the plane is InFront or Behind, not Intersects. The signed distance of the centre
// is written in every case.
SphereSide sphereSide(const CVector3& centre, const CVector3& n, const CVector3& pointOnPlane,
                      float radius, float& outDistance);

// True when some edge of the polygon comes closer to the centre than the radius.
bool sphereTouchesEdges(const CVector3& centre, const CVector3* polygon, int count, float radius);

// True when the sphere cuts the polygon's plane inside the polygon or touches one of its edges.
// Fewer than three vertices give false.
bool sphereHitsPolygon(const CVector3* polygon, const CVector3& centre, int count, float radius);

// The offset that moves a sphere at the given signed distance out of the plane with normal n.
CVector3 spherePushOut(const CVector3& n, float radius, float distance);

// 1 when p lies on the inner side of edge a->b about normal n (or the test is not a number),
// else 0.
int insideEdge(const CVector3& a, const CVector3& b, const CVector3& p, const CVector3& n);

// True when the ray from o along v hits the front of triangle a, b, c. The hit point is written
// whenever the ray meets the plane from the front ahead of (or at) o, inside or not.
bool rayHitsTriangle(const CVector3& a, const CVector3& b, const CVector3& c, const CVector3& o,
                     const CVector3& v, CVector3& outHit);
