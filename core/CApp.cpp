// CApp: owns the engine for the application's lifetime.
#include "core/CApp.h"

#include "core/CEngine.h"

CApp::CApp()
    : m_width(1024), m_height(768), m_bpp(16), m_caption("Engine Demo"), m_pEngine(nullptr) {
    m_pEngine = new CEngine();
}

CApp::~CApp() {
    delete m_pEngine;
    m_pEngine = nullptr;
}

bool CApp::RunFrame() {
    MainLoop();
    return false;
}
