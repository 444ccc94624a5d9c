// CCamera: the first-person camera for 3D scenes: an eye, a point looked at and an up vector,
// turned by the mouse, moved by W, A, S, D or the cursor keys at a speed scaled by the frame
// time, and loaded with gluLookAt. An application in 3D mode calls Update and then Look once
// per frame, after the frame step and before drawing its scene.
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
    void MoveTo(float x, float y, float z);
    void Rotate(float angle, float x, float y, float z);
    void MouseLook();
    void MoveForward(float speed);
    void Strafe(float speed);
    void KeyboardMove();
    void Update();
    void Look();

    CVector3 eye;
    CVector3 center;
    CVector3 up;
    CVector3 side;

    // One accumulated pitch for the whole program, shared by every camera.
    static float pitchTotal;
};

extern CCamera* g_pCamera;
