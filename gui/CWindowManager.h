// CWindowManager: owns every GUI window and draws the visible ones once per frame, in the order
// they were added, from the engine's frame step.
#pragma once

#include <cstddef>
#include <vector>

class CWindow;

class CWindowManager {
public:
    CWindowManager();
    // Destroys every window, and through them every widget and image they own.
    ~CWindowManager();

    // Ownership passes to the manager. A null window or one already added is ignored.
    void AddWindow(CWindow* window);
    void DrawAll();
    void DeactivateAll();
    // Activates (and so shows) every window with this id.
    void Activate(int id);

    size_t GetWindowCount() const { return windows.size(); }
    CWindow* GetWindow(size_t index) const {
        return index < windows.size() ? windows[index] : nullptr;
    }

private:
    std::vector<CWindow*> windows;
};

extern CWindowManager* g_pWindowManager;
