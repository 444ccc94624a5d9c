// CCameraManager: the list of 2D camera offsets and the per-frame translation.
#include "camera/CCameraManager.h"

#include "render/CRenderState.h"

CCameraManager* g_pCameraManager = nullptr;

CCameraManager::CCameraManager() : cameraCount(0), current(0) {}

CCameraManager::~CCameraManager() {
    for (CPosition2D* camera : cameras) {
        delete camera;
    }
    cameras.clear();
}

void CCameraManager::AddCamera(CPosition2D* camera) {
    cameras.push_back(camera);
    ++cameraCount;
    current = cameraCount - 1;
}

void CCameraManager::SelectCamera(unsigned int index) {
    if (index < cameraCount) {
        current = index;
    }
}

CPosition2D* CCameraManager::Current() {
    return cameraCount != 0 ? cameras[current] : nullptr;
}

void CCameraManager::Apply() {
    if (CPosition2D* camera = Current()) {
        CRenderState::Translate(camera->position.x, camera->position.y, 0.0f);
    }
}

void CCameraManager::MoveLeft(float step) {
    if (CPosition2D* camera = Current()) {
        camera->addX(step);
    }
}

void CCameraManager::MoveRight(float step) {
    if (CPosition2D* camera = Current()) {
        camera->subX(step);
    }
}

void CCameraManager::MoveUp(float step) {
    if (CPosition2D* camera = Current()) {
        camera->addY(step);
    }
}

void CCameraManager::MoveDown(float step) {
    if (CPosition2D* camera = Current()) {
        camera->subY(step);
    }
}

void CCameraManager::Translate(float dx, float dy) {
    if (CPosition2D* camera = Current()) {
        camera->add(dx, dy);
    }
}

CVector2* CCameraManager::GetPosition() {
    CPosition2D* camera = Current();
    return camera != nullptr ? &camera->position : nullptr;
}

CVector2* CCameraManager::GetPositionAt(unsigned int index) {
    return index < cameraCount ? &cameras[index]->position : nullptr;
}
