// CCamera: mouse look, keyboard movement and the look-at view.
#include "camera/CCamera.h"

#include <SDL.h>

#include <cmath>

#include "graphics/CGraphicsCore.h"
#include "platform/CPlatform.h"
#include "render/CRenderState.h"
#include "utils/CUtils.h"

CCamera* g_pCamera = nullptr;
float CCamera::pitchTotal = 0.0f;

namespace {

bool Finite(const CVector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The unit vector across the viewing direction; false when there is none, that is when the
// direction is of zero length, parallel to up or not finite.
bool SideOf(const CVector3& direction, const CVector3& up, CVector3& side) {
    CVector3 candidate = normalized(crossProduct(direction, up));
    if (!Finite(candidate)) {
        return false;
    }
    side = candidate;
    return true;
}

// A view the camera may move or turn into: finite points and a direction with a side vector.
bool Usable(const CVector3& eye, const CVector3& center, const CVector3& up) {
    CVector3 side;
    return Finite(eye) && Finite(center) && SideOf(center - eye, up, side);
}

bool KeyHeld(const Uint8* keys, int a, int b) {
    return keys[a] != 0 || keys[b] != 0;
}

}  // namespace

CCamera::CCamera() : eye(0.0f, 5.0f, -25.0f), center(1.0f, 5.0f, 1.0f), up(0.0f, 1.0f, 0.0f) {}

CCamera::~CCamera() {}

void CCamera::Place(float eyeX, float eyeY, float eyeZ, float centerX, float centerY, float centerZ,
                    float upX, float upY, float upZ) {
    eye = CVector3(eyeX, eyeY, eyeZ);
    center = CVector3(centerX, centerY, centerZ);
    up = CVector3(upX, upY, upZ);
}

void CCamera::MoveTo(float x, float y, float z) {
    CVector3 newEye(x, y, z);
    CVector3 newCenter = (center + newEye) - eye;
    // Far from the origin rounding can swallow a short viewing direction.
    if (Usable(newEye, newCenter, up)) {
        eye = newEye;
        center = newCenter;
    }
}

void CCamera::Rotate(float angle, float x, float y, float z) {
    CVector3 v = center - eye;
    float c = static_cast<float>(std::cos(double(angle)));
    float s = static_cast<float>(std::sin(double(angle)));
    double t = 1.0 - c;
    double nx = (c + t * x * x) * v.x + (t * x * y - double(z) * s) * v.y +
                (t * x * z + double(y) * s) * v.z;
    double ny = (t * x * y + double(z) * s) * v.x + (c + t * y * y) * v.y +
                (t * y * z - double(x) * s) * v.z;
    double nz = (t * x * z - double(y) * s) * v.x + (t * y * z + double(x) * s) * v.y +
                (c + t * z * z) * v.z;
    CVector3 n(static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(nz));
    CVector3 newCenter = eye + n;
    if (Usable(eye, newCenter, up)) {
        center = newCenter;
    }
}

void CCamera::MouseLook() {
    if (g_pGraphicsCore == nullptr || SDL_GetVideoSurface() == nullptr) {
        return;
    }
    int middleX = g_pGraphicsCore->GetWidth() / 2;
    int middleY = g_pGraphicsCore->GetHeight() / 2;
    int mouseX = 0;
    int mouseY = 0;
    CPlatform::GetPointer(&mouseX, &mouseY);
    if (mouseX == middleX && mouseY == middleY) {
        return;
    }
    CPlatform::WarpPointer(middleX, middleY);

    float yaw = static_cast<float>(middleX - mouseX) / MOUSE_DIVISOR;
    float pitch = static_cast<float>(middleY - mouseY) / MOUSE_DIVISOR;
    pitchTotal -= pitch;
    if (pitchTotal > PITCH_LIMIT) {
        pitchTotal = PITCH_LIMIT;
        return;
    }
    if (pitchTotal < -PITCH_LIMIT) {
        pitchTotal = -PITCH_LIMIT;
        return;
    }

    // Looking along up there is no axis to pitch about; the yaw still applies.
    CVector3 axis;
    if (SideOf(center - eye, up, axis)) {
        Rotate(pitch, axis.x, axis.y, axis.z);
    }
    // Yaw turns about the world's y axis, whatever up is.
    Rotate(yaw, 0.0f, 1.0f, 0.0f);
}

void CCamera::MoveForward(float speed) {
    CVector3 direction = center - eye;
    CVector3 newEye = eye + normalized(direction) * speed;
    // The eye stops short of the center: on it the direction would vanish, past it the view
    // would flip round.
    if (dotProduct(center - newEye, direction) <= 0.0) {
        return;
    }
    if (Usable(newEye, center, up)) {
        eye = newEye;
    }
}

void CCamera::Strafe(float speed) {
    CVector3 newEye(eye.x + side.x * speed, eye.y, eye.z + side.z * speed);
    CVector3 newCenter(center.x + side.x * speed, center.y, center.z + side.z * speed);
    if (Usable(newEye, newCenter, up)) {
        eye = newEye;
        center = newCenter;
    }
}

void CCamera::KeyboardMove() {
    if (g_pUtils == nullptr) {
        return;
    }
    float speed = g_pUtils->GetFrameTime() * MOVE_SPEED;
    // SDL's own table, not the event manager: movement follows keys held across frames.
    const Uint8* keys = CPlatform::HeldKeys();
    if (KeyHeld(keys, SDLK_UP, SDLK_w)) {
        MoveForward(speed);
    }
    if (KeyHeld(keys, SDLK_DOWN, SDLK_s)) {
        MoveForward(-speed);
    }
    if (KeyHeld(keys, SDLK_LEFT, SDLK_a)) {
        Strafe(-speed);
    }
    if (KeyHeld(keys, SDLK_RIGHT, SDLK_d)) {
        Strafe(speed);
    }
}

void CCamera::Update() {
    // A view placed along up has no side; strafing then moves nothing.
    if (!SideOf(center - eye, up, side)) {
        side = CVector3();
    }
    MouseLook();
    KeyboardMove();
}

void CCamera::Look() {
    CRenderState::LookAt(eye.x, eye.y, eye.z, center.x, center.y, center.z, up.x, up.y, up.z);
}
