/// @file
/// CCameraManager: scrolling 2D cameras; declares g_pCameraManager.
#pragma once

#include <vector>

#include "math/CPosition2D.h"

/// Scrolling 2D cameras. It owns the positions handed to it, one of which is current, and once
/// per frame translates the model-view matrix by the current offset, so the scene drawn after
/// the frame step scrolls while the GUI, cursor and frame rate stay put.
///
/// The engine creates the one instance (g_pCameraManager) at start-up; cameras can be added any
/// time after that (no window needed). Allocate each position with new and hand it over with
/// AddCamera; the manager deletes it at engine shutdown, so the application keeps at most a
/// pointer to move it. Moves made during a frame show from the next frame step on. Text printed
/// with a font ignores the camera.
class CCameraManager {
public:
    /// No camera yet. Only engine start-up creates the manager; use g_pCameraManager.
    CCameraManager();
    /// Deletes every camera added.
    ~CCameraManager();

    /// Ownership passes to the manager; the new camera becomes current.
    void AddCamera(CPosition2D* camera);
    /// Ignored when the index is out of range.
    void SelectCamera(unsigned int index);
    /// glTranslatef by the current camera's offset; nothing without a camera.
    /// The frame step calls it after drawing the GUI.
    void Apply();

    /// Named after the camera's apparent motion: moving left raises x, which shifts the scene
    /// to the right. Each moves the current camera by step pixels (nothing without a camera).
    /// @{
    void MoveLeft(float step);
    void MoveRight(float step);
    void MoveUp(float step);
    void MoveDown(float step);
    /// @}
    /// Adds (dx, dy) to the current camera's offset; nothing without a camera.
    void Translate(float dx, float dy);

    /// The current camera's position, null without a camera.
    CVector2* GetPosition();
    /// Null when the index is out of range.
    CVector2* GetPositionAt(unsigned int index);
    /// How many cameras were added.
    unsigned int GetCameraCount() const { return cameraCount; }
    /// The index of the current camera, in the order they were added.
    unsigned int GetCurrent() const { return current; }

private:
    CPosition2D* Current();

    std::vector<CPosition2D*> cameras;
    unsigned int cameraCount;
    unsigned int current;
};

/// The camera manager, created by engine start-up and deleted by shutdown; null outside the
/// engine's lifetime.
extern CCameraManager* g_pCameraManager;
