// CCamera: placeholder until the 3D camera lands.
#include "camera/CCamera.h"

CCamera* g_pCamera = nullptr;
float CCamera::pitchTotal = 0.0f;

CCamera::CCamera() : eye(0.0f, 5.0f, -25.0f), center(1.0f, 5.0f, 1.0f), up(0.0f, 1.0f, 0.0f) {}
CCamera::~CCamera() {}
