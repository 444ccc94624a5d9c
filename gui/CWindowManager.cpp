// CWindowManager: the list of GUI windows, their drawing order and their activation.
#include "gui/CWindowManager.h"

#include <algorithm>

#include "gui/CWindow.h"

CWindowManager* g_pWindowManager = nullptr;

CWindowManager::CWindowManager() {}

CWindowManager::~CWindowManager() {
    for (CWindow* window : windows) {
        delete window;
    }
}

void CWindowManager::AddWindow(CWindow* window) {
    // A null window, or one already listed, would later crash the drawing or be freed twice.
    if (window == nullptr || std::find(windows.begin(), windows.end(), window) != windows.end()) {
        return;
    }
    windows.push_back(window);
}

void CWindowManager::DrawAll() {
    for (CWindow* window : windows) {
        if (window->IsVisible()) {
            window->Draw();
        }
    }
}

void CWindowManager::DeactivateAll() {
    for (CWindow* window : windows) {
        window->SetActive(false);
    }
}

void CWindowManager::Activate(int id) {
    for (CWindow* window : windows) {
        if (window->GetId() == id) {
            window->SetActive(true);
        }
    }
}
