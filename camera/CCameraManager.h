// CCameraManager: scrolling 2D cameras. It owns the positions handed to it, one of which is
// current, and once per frame translates the model-view matrix by the current offset, so the
// scene drawn after the frame step scrolls while the GUI, cursor and frame rate stay put.
#pragma once

#include <vector>

#include "math/CPosition2D.h"

class CCameraManager {
public:
    CCameraManager();
    // Deletes every camera added.
    ~CCameraManager();

    // Ownership passes to the manager; the new camera becomes current.
    void AddCamera(CPosition2D* camera);
    // Ignored when the index is out of range.
    void SelectCamera(unsigned int index);
    // glTranslatef by the current camera's offset; nothing without a camera.
    void Apply();

    // Named after the camera's apparent motion: moving left raises x, which shifts the scene
    // to the right.
    void MoveLeft(float step);
    void MoveRight(float step);
    void MoveUp(float step);
    void MoveDown(float step);
    void Translate(float dx, float dy);

    // The current camera's position, null without a camera.
    CVector2* GetPosition();
    // Null when the index is out of range.
    CVector2* GetPositionAt(unsigned int index);
    unsigned int GetCameraCount() const { return cameraCount; }
    unsigned int GetCurrent() const { return current; }

private:
    CPosition2D* Current();

    std::vector<CPosition2D*> cameras;
    unsigned int cameraCount;
    unsigned int current;
};

extern CCameraManager* g_pCameraManager;
