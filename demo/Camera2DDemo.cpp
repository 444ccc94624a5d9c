// Camera2DDemo: set-up, the frame loop and drawing of the camera-movement demonstration.
#include "demo/Camera2DDemo.h"

#include <GL/gl.h>
#include <SDL.h>

#include "camera/CCameraManager.h"
#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "input/CEventManager.h"
#include "math/CPosition2D.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CSprite.h"

namespace {

// The drift turns round outside this range of camera x.
const float kDriftMinX = -766.0f;
const float kDriftMaxX = 0.0f;
const float kKeyStep = 5.0f;

}  // namespace

Camera2DDemo::Camera2DDemo()
    : m_pMap1(nullptr),
      m_pMap2(nullptr),
      m_pCameraPos(nullptr),
      m_scrollSpeed(0.0f),
      m_pLogo(nullptr) {}

Camera2DDemo::~Camera2DDemo() {
    delete m_pLogo;
    m_pLogo = nullptr;
    delete m_pMap1;
    m_pMap1 = nullptr;
    delete m_pMap2;
    m_pMap2 = nullptr;
    // m_pCameraPos belongs to the camera manager, which frees it at engine shutdown.
}

void Camera2DDemo::Init() {
    m_pEngine->SetVideoMode(1024, 768, 16, true, true);
    g_pGraphicsCore->ShowCursor(false);
    g_pGraphicsCore->SetCursorImage("Data/MousePointer.png");
    m_pEngine->ShowFPS(true);
    g_pGraphicsCore->SetCaption("Orvane Engine - Sprite Animation Demo");
    m_pMap1 = new CSprite("Data/MAP1.png");
    m_pMap2 = new CSprite("Data/MAP2.png");
    m_pCameraPos = new CPosition2D(-1.0f, 0.0f);
    g_pCameraManager->AddCamera(m_pCameraPos);
    m_scrollSpeed = -0.5f;
    m_pLogo = new CSprite("Data/Logo/orvlogo.png");
    m_pLogo->position.x = 1022.0f - m_pLogo->GetWidth();
    m_pLogo->position.y = 766.0f - m_pLogo->GetHeight();
}

void Camera2DDemo::MainLoop() {
    while (RunFrame()) {
    }
}

bool Camera2DDemo::RunFrame() {
    g_pCameraManager->Translate(m_scrollSpeed, 0.0f);
    RenderFrame();

    // Outside the range the step flips on every frame, so a camera pushed out by the keys
    // jitters by half a pixel until the keys bring it back.
    float x = g_pCameraManager->GetPosition()->x;
    if (x < kDriftMinX || x > kDriftMaxX) {
        m_scrollSpeed = -m_scrollSpeed;
    }

    // Keys count only in frames whose poll took an event.
    if (!g_pEventManager->HasEvent()) {
        return true;
    }
    if (g_pEventManager->IsKeyDown(SDLK_ESCAPE)) {
        return false;
    }
    if (g_pEventManager->IsEvent(EVENT_QUIT)) {
        return false;
    }
    if (g_pEventManager->IsKeyDown(SDLK_UP)) {
        g_pCameraManager->MoveUp(kKeyStep);
    }
    if (g_pEventManager->IsKeyDown(SDLK_DOWN)) {
        g_pCameraManager->MoveDown(kKeyStep);
    }
    if (g_pEventManager->IsKeyDown(SDLK_LEFT)) {
        g_pCameraManager->MoveLeft(kKeyStep);
    }
    if (g_pEventManager->IsKeyDown(SDLK_RIGHT)) {
        g_pCameraManager->MoveRight(kKeyStep);
    }
    return true;
}

void Camera2DDemo::RenderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    m_pEngine->Update();

    g_pGraphicsCore->Begin2D();
    m_pMap1->Draw(0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    m_pMap2->Draw(890.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    g_pGraphicsCore->End2D();

    if (CFont* font = g_pFontManager->GetFont(1)) {
        font->Print(360, 30, 0, "2D Camera Movement Demo.");
        font->Print(20, 740, 0, "Press ESC to Exit.");
    }

    g_pGraphicsCore->Begin2D();
    glLoadIdentity();
    m_pLogo->DrawAtPosition(1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    g_pGraphicsCore->End2D();

    SDL_GL_SwapBuffers();
}
