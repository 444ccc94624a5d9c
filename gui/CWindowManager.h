/// @file
/// CWindowManager: the list of GUI windows; declares g_pWindowManager.
#pragma once

#include <cstddef>
#include <vector>

class CWindow;

/// Owns every GUI window and draws the visible ones once per frame, in the order they were
/// added, from the engine's frame step.
///
/// The engine creates the one instance (g_pWindowManager) at start-up. Build windows after
/// CEngine::SetVideoMode (their pictures are sprites), allocate them with new and hand them over
/// with AddWindow: the manager deletes them, and through them their widgets, at engine
/// shutdown. Windows start hidden; show one with CWindow::SetVisible, CWindow::SetActive or
/// Activate. The frame step draws the visible windows before the application's scene, and
/// their buttons report clicks through CEventManager::GetClickedId, readable after
/// CEngine::Update.
///
/// @code
/// CWindow* panel = new CWindow(100, 100, 400, 300, "Data/Gui/panel.png", true, 1.0f, 15, 1, true);
/// panel->CreateButton("Data/Gui/ok", 4, 20, 240, 7);   // ok1.png .. ok4.png, id 7
/// g_pWindowManager->AddWindow(panel);                   // the manager owns it now
/// panel->SetActive(true);
/// // each frame, after m_pEngine->Update():
/// if (g_pEventManager->GetClickedId() == 7) { ... }
/// @endcode
class CWindowManager {
public:
    /// No window yet. Only engine start-up creates the manager; use g_pWindowManager.
    CWindowManager();
    /// Destroys every window, and through them every widget and image they own.
    ~CWindowManager();

    /// Ownership passes to the manager. A null window or one already added is ignored.
    void AddWindow(CWindow* window);
    /// Draws every visible window, in the order added, so later windows cover earlier ones.
    /// The frame step calls it; applications do not.
    void DrawAll();
    /// Deactivates every window (they stay visible).
    void DeactivateAll();
    /// Activates (and so shows) every window with this id.
    void Activate(int id);

    /// The number of windows held.
    size_t GetWindowCount() const { return windows.size(); }
    /// The window added at that position, null past the end; it stays the manager's.
    CWindow* GetWindow(size_t index) const {
        return index < windows.size() ? windows[index] : nullptr;
    }

private:
    std::vector<CWindow*> windows;
};

/// The window manager, created by engine start-up and deleted by shutdown; null outside the
/// engine's lifetime.
extern CWindowManager* g_pWindowManager;
