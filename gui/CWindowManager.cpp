// CWindowManager: placeholder until the GUI lands.
#include "gui/CWindowManager.h"

CWindowManager* g_pWindowManager = nullptr;

CWindowManager::CWindowManager() {}
CWindowManager::~CWindowManager() {}
void CWindowManager::AddWindow(CWindow* window) { windows.push_back(window); }
void CWindowManager::DrawAll() {}
void CWindowManager::DeactivateAll() {}
void CWindowManager::Activate(int) {}
