// CollisionArena: a ball that rolls over a floor, up a ramp and against walls, kept out of them
// by the sphere/polygon tests of the geometry library. Each surface is a quad; the tests see it
// as two triangles, because the sphere test only checks the first three vertices of a polygon
// for the inside case and a quad's fourth corner would otherwise be found only near the edges.
#pragma once

#include <string>
#include <vector>

#include "math/CVector3.h"

class CollisionArena {
public:
    static constexpr float BALL_RADIUS = 1.0f;
    // World units per second.
    static constexpr float ROLL_SPEED = 6.0f;
    static constexpr float FALL_SPEED = 5.0f;

    CollisionArena();

    // One step: the ball moves by (dirX, dirZ) (each -1, 0 or 1) at ROLL_SPEED and falls at
    // FALL_SPEED for dt seconds, then is pushed out of every surface it cuts. Long steps are
    // cut into short ones so the ball cannot pass through a wall between two frames.
    void Step(float dirX, float dirZ, float dt);
    // Back to the starting place.
    void Reset();

    const CVector3& GetBall() const { return ball; }
    // The surfaces the last step pushed the ball out of, the floor left out; empty when none.
    const std::string& GetContact() const { return contact; }

    // The walls and the ramp as lit quads (the floor is the scene's grid); fixed-function
    // lighting must be set up by the caller.
    void Draw() const;

private:
    struct Surface {
        std::string name;
        CVector3 corners[4];
        float red, green, blue;
        bool drawn;
    };

    void AddSurface(const std::string& name, const CVector3& a, const CVector3& b,
                    const CVector3& c, const CVector3& d, float red, float green, float blue,
                    bool drawn);
    void SubStep(float dirX, float dirZ, float dt);
    // Pushes the ball out of the surface; true when it had to.
    bool Resolve(const Surface& surface);

    std::vector<Surface> surfaces;
    CVector3 ball;
    std::string contact;
};
