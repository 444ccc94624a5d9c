// CCamera: the first-person camera for 3D scenes: an eye, a point looked at and an up vector,
// turned by the mouse, moved by W, A, S, D or the cursor keys at a speed scaled by the frame
// time, and loaded with gluLookAt. An application in 3D mode calls Update and then Look once
// per frame, after the frame step and before drawing its scene.
//
// Every move and turn keeps the view usable: one that would leave the viewing direction
// (center - eye) of zero length, parallel to `up` or not finite is skipped, and MoveForward
// never takes the eye onto or past the center. So the camera never holds a not-a-number. Only
// Place stores whatever it is given; a view placed along `up` has no side vector (it reads as
// zero) and no pitch axis until a turn takes it out of that line.
#pragma once

#include "math/CVector3.h"

class CCamera {
public:
    // Mouse pixels per radian of turning.
    static constexpr float MOUSE_DIVISOR = 500.0f;
    // World units per second of keyboard movement.
    static constexpr float MOVE_SPEED = 200.0f;
    // The accumulated pitch is held within [-PITCH_LIMIT, PITCH_LIMIT] radians.
    static constexpr float PITCH_LIMIT = 1.0f;

    CCamera();
    ~CCamera();

    void Place(float eyeX, float eyeY, float eyeZ, float centerX, float centerY, float centerZ,
               float upX, float upY, float upZ);
    // Moves the eye to (x, y, z) and carries the center along.
    void MoveTo(float x, float y, float z);
    // Turns the center about the eye by angle radians about the unit axis (x, y, z).
    void Rotate(float angle, float x, float y, float z);
    // Turns by the pointer's offset from the middle of the window and warps it back there.
    // Does nothing while no window is open.
    void MouseLook();
    // Moves only the eye along the viewing direction (towards the center for positive speed).
    void MoveForward(float speed);
    // Moves eye and center together along the side vector in the x-z plane.
    void Strafe(float speed);
    // Applies the held movement keys, scaled by the utils' frame time.
    void KeyboardMove();
    // Recomputes the side vector, then applies the mouse and the keyboard.
    void Update();
    // Multiplies the current matrix by the view; the caller loads the identity first.
    void Look();

    CVector3 eye;
    CVector3 center;
    CVector3 up;
    CVector3 side;

    // One accumulated pitch for the whole program, shared by every camera.
    static float pitchTotal;
};

extern CCamera* g_pCamera;
