// CollisionArena: the surfaces, the ball's movement and the push-out from each surface.
#include "examples/scene3d_demo/CollisionArena.h"

#include <GL/gl.h>

#include <algorithm>

#include "math/Geometry.h"

namespace {

// Under a tenth of the radius per sub-step at ROLL_SPEED, so the ball never skips a wall.
const float kMaxSubStep = 0.01f;
// Below this the ball has left the floor; it starts again.
const float kLowestY = -20.0f;
const CVector3 kStart(-9.0f, CollisionArena::BALL_RADIUS, -3.0f);

}  // namespace

CollisionArena::CollisionArena() : ball(kStart) {
    const float h = 2.0f;
    // The floor matches the scene's grid.
    AddSurface("floor", CVector3(-30, 0, -30), CVector3(30, 0, -30), CVector3(30, 0, 30),
               CVector3(-30, 0, 30), 0.0f, 0.0f, 0.0f, false);
    AddSurface("back wall", CVector3(-6, 0, 6), CVector3(-16, 0, 6), CVector3(-16, h, 6),
               CVector3(-6, h, 6), 0.55f, 0.6f, 0.7f, true);
    AddSurface("side wall", CVector3(-16, 0, 6), CVector3(-16, 0, -6), CVector3(-16, h, -6),
               CVector3(-16, h, 6), 0.55f, 0.6f, 0.7f, true);
    AddSurface("divider", CVector3(-6, 0, 0), CVector3(-11, 0, 0), CVector3(-11, h, 0),
               CVector3(-6, h, 0), 0.7f, 0.45f, 0.55f, true);
    // Rises from the floor at z = 1 to the top of the back wall.
    AddSurface("ramp", CVector3(-12, 0, 1), CVector3(-16, 0, 1), CVector3(-16, h, 6),
               CVector3(-12, h, 6), 0.8f, 0.6f, 0.3f, true);
}

void CollisionArena::AddSurface(const std::string& name, const CVector3& a, const CVector3& b,
                                const CVector3& c, const CVector3& d, float red, float green,
                                float blue, bool drawn) {
    surfaces.push_back(Surface{name, {a, b, c, d}, red, green, blue, drawn});
}

void CollisionArena::Reset() {
    ball = kStart;
    contact.clear();
}

void CollisionArena::Step(float dirX, float dirZ, float dt) {
    contact.clear();
    while (dt > 0.0f) {
        float step = std::min(dt, kMaxSubStep);
        SubStep(dirX, dirZ, step);
        dt -= step;
    }
    if (ball.y < kLowestY) {
        Reset();
    }
}

void CollisionArena::SubStep(float dirX, float dirZ, float dt) {
    ball.x += dirX * ROLL_SPEED * dt;
    ball.z += dirZ * ROLL_SPEED * dt;
    ball.y -= FALL_SPEED * dt;
    for (const Surface& surface : surfaces) {
        if (Resolve(surface) && surface.name != "floor" &&
            contact.find(surface.name) == std::string::npos) {
            contact += contact.empty() ? surface.name : ", " + surface.name;
        }
    }
}

bool CollisionArena::Resolve(const Surface& surface) {
    const CVector3* c = surface.corners;
    const CVector3 halves[2][3] = {{c[0], c[1], c[2]}, {c[0], c[2], c[3]}};
    for (const CVector3* triangle : halves) {
        if (!sphereHitsPolygon(triangle, ball, 3, BALL_RADIUS)) {
            continue;
        }
        CVector3 normal = polygonNormal(triangle);
        float distance = 0.0f;
        sphereSide(ball, normal, triangle[0], BALL_RADIUS, distance);
        ball = ball + spherePushOut(normal, BALL_RADIUS, distance);
        return true;
    }
    return false;
}

void CollisionArena::Draw() const {
    glBegin(GL_QUADS);
    for (const Surface& surface : surfaces) {
        if (!surface.drawn) {
            continue;
        }
        // The library's normal points against the corners' counter-clockwise turn; OpenGL's
        // front face, which two-sided lighting goes by, is on the other side.
        CVector3 n = polygonNormal(surface.corners) * -1.0f;
        glColor3f(surface.red, surface.green, surface.blue);
        glNormal3f(n.x, n.y, n.z);
        for (const CVector3& corner : surface.corners) {
            glVertex3f(corner.x, corner.y, corner.z);
        }
    }
    glEnd();
}
