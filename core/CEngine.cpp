// CEngine: start-up, video set-up, the frame step and shutdown.
#include "core/CEngine.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "audio/CSoundManager.h"
#include "camera/CCamera.h"
#include "camera/CCameraManager.h"
#include "core/CLiveReload.h"
#include "graphics/CGraphicsCore.h"
#include "gui/CWindowManager.h"
#include "input/CEventManager.h"
#include "platform/CPlatform.h"
#include "render/CQuadBatch.h"
#include "render/CRenderState.h"
#include "shading/CShaderManager.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CTextureManager.h"
#include "utils/CUtils.h"

namespace {

// A manager pointer that came out null: the failure line, SDL_Quit, and start-up goes on.
void CheckCreated(const void* pointer, const char* failureLine) {
    if (pointer == nullptr) {
        std::cout << failureLine << std::endl;
        SDL_Quit();
    }
}

template <class T>
void DeleteManager(T*& pointer) {
    delete pointer;
    pointer = nullptr;
}

}  // namespace

CEngine::CEngine() : showFPS(false), liveReload(nullptr) {
    g_pGraphicsCore = nullptr;
    g_pTextureManager = nullptr;
    g_pWindowManager = nullptr;
    g_pEventManager = nullptr;
    g_pUtils = nullptr;
    g_pSoundManager = nullptr;
    g_pShaderManager = nullptr;
    g_pCamera = nullptr;
    g_pCameraManager = nullptr;
    g_pFontManager = nullptr;

    std::cout << std::endl << "Orvane Engine version 0.02..." << std::endl << std::endl;

    std::cout << "Initialize Graphics Core...";
    g_pGraphicsCore = new CGraphicsCore();
    CheckCreated(g_pGraphicsCore, "Unable to initialize Graphics Core!");
    std::cout << "done" << std::endl;

    std::cout << "Initialize Texture Manager...";
    g_pTextureManager = new CTextureManager();
    CheckCreated(g_pTextureManager, "Unable to initialize Texture Manager Core!");
    std::cout << "done" << std::endl;

    std::cout << "Initialize Window Manager...";
    g_pWindowManager = new CWindowManager();
    CheckCreated(g_pWindowManager, "Unable to initialize Window Manager Core!");
    std::cout << "done" << std::endl;

    std::cout << "Initialize Event Manager...";
    InitEventThread();
    g_pEventManager = new CEventManager();
    CheckCreated(g_pEventManager, "Unable to initialize Event Manager!");
    std::cout << "done" << std::endl;

    std::cout << "Initialize Utils...";
    g_pUtils = new CUtils();
    CheckCreated(g_pUtils, "Unable to initialize Utils!");
    // The frame rate extends whatever caption the application has set.
    g_pUtils->SetCaptionSource(
        [] { return g_pGraphicsCore != nullptr ? g_pGraphicsCore->GetCaption() : std::string(); });
    std::cout << "done" << std::endl;

    // The next three are created before their text, so lines their constructors write (the
    // audio error, for one) come first.
    g_pSoundManager = new CSoundManager();
    std::cout << "Initialize Sound Manager...";
    CheckCreated(g_pSoundManager, "Unable to initialize Sound Manager!");
    std::cout << "done" << std::endl;

    g_pShaderManager = new CShaderManager();
    std::cout << "Initialize Shader Manager...";
    CheckCreated(g_pShaderManager, "Unable to initialize Shader Unit!");
    std::cout << "done" << std::endl;

    g_pCamera = new CCamera();
    std::cout << "Initialize the Camera...";
    CheckCreated(g_pCamera, "Unable to initialize the Camera Unit!");
    std::cout << "done" << std::endl;

    std::cout << "Initialize the Camera Manager...";
    g_pCameraManager = new CCameraManager();
    CheckCreated(g_pCameraManager, "Unable to initialize the Camera Manager Core!");
    std::cout << "done" << std::endl;

    std::cout << "Initialize the Font Manager...";
    g_pFontManager = new CFontManager();
    CheckCreated(g_pFontManager, "Unable to initialize the Font Manager Core!");
    std::cout << "done" << std::endl;

    const char* watch = std::getenv("ORVANE_WATCH");
    SetWatching(watch != nullptr && std::strcmp(watch, "1") == 0);
}

CEngine::~CEngine() {
    SetWatching(false);
    // The graphics core goes first and quits SDL; everything after it frees memory only.
    DeleteManager(g_pGraphicsCore);
    DeleteManager(g_pFontManager);
    DeleteManager(g_pUtils);
    DeleteManager(g_pTextureManager);
    DeleteManager(g_pWindowManager);
    DeleteManager(g_pEventManager);
    DeleteManager(g_pSoundManager);
    DeleteManager(g_pShaderManager);
    DeleteManager(g_pCamera);
    DeleteManager(g_pCameraManager);
}

void CEngine::InitEventThread() {
    if (!CPlatform::StartEventThread()) {
        throw std::string("Error: SDL Eventhread cannot not be initialized: ") + SDL_GetError();
    }
}

void CEngine::SetVideoMode(int width, int height, int bpp, bool fullscreen, bool mode2D) {
    g_pGraphicsCore->SetVideoMode(width, height, bpp, fullscreen, mode2D);
    std::cout << std::endl
              << "Detected Video Card Vendor: " << g_pGraphicsCore->GetVendor() << std::endl;
    std::cout << "Detected Renderer: " << g_pGraphicsCore->GetRenderer() << std::endl;
    std::cout << "Detected OpenGL version: " << g_pGraphicsCore->GetVersion() << std::endl;
    g_pShaderManager->LoadBuiltInShaders();
    g_pFontManager->LoadFont("Data/Font/font.tga");
}

void CEngine::SetWatching(bool watch) {
    if (watch && liveReload == nullptr) {
        liveReload = new CLiveReload();
    } else if (!watch) {
        delete liveReload;
        liveReload = nullptr;
    }
}

void CEngine::Update() {
    g_pEventManager->PollEvent();
    if (liveReload != nullptr) {
        liveReload->Poll();
    }
    // From here to the program's swap, engine quads wait for the end of their run.
    CQuadBatch::SetScope(CQuadBatch::kFrame, true);
    g_pGraphicsCore->Begin2D();
    // Until the camera moves the model-view, prints need no matrices of their own.
    CRenderState::LoadIdentity();
    g_pWindowManager->DrawAll();
    if (g_pGraphicsCore->HasCustomCursor()) {
        g_pGraphicsCore->DrawCursor();
    }
    if (showFPS) {
        g_pUtils->UpdateFPS();
        if (CFont* font = g_pFontManager->GetFont(1)) {
            font->Print(1, 1, 0, "Current FPS %d", g_pUtils->GetFPS());
        }
    }
    g_pCameraManager->Apply();
    if (g_pGraphicsCore->Is3D()) {
        g_pGraphicsCore->End2D();
    }
    // The windows and the cursor leave no quad state behind for the application's drawing.
    // The engine still knows the state it set, so this is not the application's FlushQuads.
    CQuadBatch::Flush();
    // The application draws under these matrices, but may change them with calls of its own.
    CRenderState::HandMatricesBack();
}
