// CGraphicsCore: SDL video, the OpenGL context and the per-frame 2D switch.
#include "graphics/CGraphicsCore.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "graphics/CDisplayCheck.h"
#include "input/CEventManager.h"
#include "platform/CPixelFormat.h"
#include "platform/CPlatform.h"
#include "render/CQuadBatch.h"
#include "render/CRenderState.h"
#include "textures/CSprite.h"

CGraphicsCore* g_pGraphicsCore = nullptr;

namespace {

const char* GlString(GLenum name) {
    // glGetString without a current context gives null, which must never reach a stream.
    const GLubyte* text = SDL_GetVideoSurface() != nullptr ? glGetString(name) : nullptr;
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

CGraphicsCore::CGraphicsCore()
    : m_videoFlags(0),
      m_width(1024),
      m_height(768),
      m_bpp(16),
      m_pCursor(nullptr),
      m_customCursor(false),
      m_pAltCursor(nullptr),
      m_pCurrentCursor(nullptr),
      m_hasAltCursor(false),
      m_caption("Orvane Engine"),
      m_wireframe(false),
      m_is3D(false),
      m_projectionPushed(false),
      m_modelViewPushed(false) {}

CGraphicsCore::~CGraphicsCore() {
    delete m_pCursor;
    m_pCursor = nullptr;
    delete m_pAltCursor;
    m_pAltCursor = nullptr;
    m_pCurrentCursor = nullptr;
    m_extensions.clear();
    SDL_Quit();
    // The context is gone, and with it whatever the quads had bound.
    CQuadBatch::Reset();
    CRenderState::ContextLost();
}

void CGraphicsCore::SetVideoMode(int width, int height, int bpp, bool fullscreen, bool mode2D) {
    InitVideo(width, height, bpp, fullscreen, mode2D);
    GLenum err = CPlatform::StartGLEW();
    if (err != GLEW_OK) {
        std::fprintf(stderr, "Error: %s\n", glewGetErrorString(err));
        // Sprites, text and shaders all need the GLSL entry points; going on would only crash
        // later on a null function pointer.
        throw std::string("Error: GLEW could not be initialized: ") +
            reinterpret_cast<const char*>(glewGetErrorString(err));
    }
    if (!GLEW_ARB_shader_objects) {
        throw std::string(
            "Error: the OpenGL driver does not offer GL_ARB_shader_objects, which sprites, text "
            "and shaders need.");
    }
}

void CGraphicsCore::InitVideo(int width, int height, int bpp, bool fullscreen, bool mode2D) {
    m_width = width;
    m_height = height;
    m_bpp = bpp;
    m_is3D = !mode2D;

    if (CDisplayCheck::RefusesVideo()) {
        // What SDL says when it has no driver for the machine.
        SDL_SetError("No available video device");
        throw std::string("Error: SDL Could not be initialized: ") + SDL_GetError();
    }
    if (!CPlatform::StartVideo(fullscreen)) {
        CDisplayCheck::ReportProblem();
        throw std::string("Error: SDL Could not be initialized: ") + SDL_GetError();
    }
    ChooseVideoFlags(fullscreen);
    SDL_Surface* window = SDL_SetVideoMode(m_width, m_height, m_bpp, m_videoFlags);
    // A browser without WebGL may hand out a window all the same; it fails here either way.
    std::string noContext = CPlatform::GLContextProblem();
    if (window == nullptr || !noContext.empty()) {
        CDisplayCheck::ReportProblem();
        throw std::string("Error: SDL Could not create Video Surface.") +
            (noContext.empty() ? SDL_GetError() : noContext.c_str());
    }
    // SDL 2 asks the new framebuffer about itself, and what a window without a depth buffer
    // refuses to answer leaves an error flag set; the errors from here on are the engine's.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
    CQuadBatch::Reset();
    CRenderState::ContextCreated(m_width, m_height, mode2D);
    // A frame's last run goes out when the program swaps the buffers.
    CPlatform::SetBeforeSwap(&CQuadBatch::EndFrame);
    m_projectionPushed = false;
    m_modelViewPushed = false;
    if (mode2D) {
        // A 2D window's own projection is the pixel one, so it is in force between End2D and
        // the next Begin2D as well.
        Setup2DState();
    } else {
        Setup3D(m_width, m_height);
    }
}

void CGraphicsCore::ChooseVideoFlags(bool fullscreen) {
    m_videoFlags = SDL_OPENGL | SDL_HWPALETTE;
    if (fullscreen) {
        m_videoFlags |= SDL_FULLSCREEN;
    }
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info == nullptr) {
        std::cerr << "Failed getting Video Info : " << SDL_GetError() << std::endl;
        std::string message = std::string("Error: SDL Could not get Video Info: ") + SDL_GetError();
        SDL_Quit();
        throw message;
    }
    if (info->hw_available) {
        m_videoFlags |= SDL_HWSURFACE;
    }
    if (info->blit_hw) {
        m_videoFlags |= SDL_HWACCEL;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // 2D drawing passes the depth test always, so a 2D window has no depth buffer to fill.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, m_is3D ? m_bpp : 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
}

void CGraphicsCore::Setup3D(int width, int height) {
    if (height == 0) {
        height = 1;
    }
    CRenderState::SetViewport(0, 0, width, height);
    CRenderState::SetMatrixMode(GL_PROJECTION, true);
    CRenderState::LoadIdentity();
    CRenderState::Perspective(60.0, static_cast<double>(width) / static_cast<double>(height), 1.0,
                              4000.0);
    CRenderState::SetMatrixMode(GL_MODELVIEW, true);
    CRenderState::LoadIdentity();
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    CRenderState::SetEnabled(GL_DEPTH_TEST, true, true);
    glDepthFunc(GL_ALWAYS);
    CRenderState::SetEnabled(GL_LIGHTING, false, true);
}

void CGraphicsCore::Setup2DState() {
    // Every call is sent, even where the engine believes it holds: the application may have
    // changed any of it since, and this is where 2D drawing starts from a state of its own.
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    CRenderState::SetBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, true);
    CRenderState::SetEnabled(GL_DEPTH_TEST, true, true);
    glDepthFunc(GL_ALWAYS);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    CRenderState::SetEnabled(GL_LIGHTING, false, true);
    CRenderState::SetEnabled(GL_BLEND, true, true);
    CRenderState::SetEnabled(GL_TEXTURE_2D, true, true);
    CRenderState::SetEnabled(GL_SCISSOR_TEST, true, true);
    // What would see a transparent fragment, read once after the application's own calls.
    CRenderState::LearnFragmentOps();
    CRenderState::SetMatrixMode(GL_PROJECTION, true);
    CRenderState::LoadIdentity();
    CRenderState::Ortho(0.0, m_width, m_height, 0.0, -1.0, 1.0);
    CRenderState::SetMatrixMode(GL_MODELVIEW, true);
}

void CGraphicsCore::Begin2D() {
    CQuadBatch::Flush();
    // Calls may nest (the frame step begins 2D and the application begins it again), so only
    // the first one saves the projection that End2D brings back.
    if (!m_projectionPushed) {
        CRenderState::SetMatrixMode(GL_PROJECTION);
        CRenderState::PushMatrix();
        m_projectionPushed = true;
    }
    Setup2DState();
    CQuadBatch::SetScope(CQuadBatch::k2D, true);
}

void CGraphicsCore::End2D() {
    CQuadBatch::Flush();
    CQuadBatch::SetScope(CQuadBatch::k2D, false);
    if (m_projectionPushed) {
        CRenderState::SetMatrixMode(GL_PROJECTION);
        CRenderState::PopMatrix();
        m_projectionPushed = false;
    }
    CRenderState::SetMatrixMode(GL_MODELVIEW);
    if (m_modelViewPushed) {
        CRenderState::PopMatrix();
        m_modelViewPushed = false;
    }
    glDepthFunc(GL_LEQUAL);
}

void CGraphicsCore::Begin2DOverlay() {
    CQuadBatch::Flush();
    CRenderState::SetMatrixMode(GL_PROJECTION);
    if (!m_projectionPushed) {
        CRenderState::PushMatrix();
        m_projectionPushed = true;
    }
    CRenderState::SetMatrixMode(GL_MODELVIEW);
    if (!m_modelViewPushed) {
        CRenderState::PushMatrix();
        m_modelViewPushed = true;
    }
    CRenderState::Ortho(0.0, m_width, m_height, 0.0, -1.0, 1.0);
    CQuadBatch::SetScope(CQuadBatch::k2D, true);
}

void CGraphicsCore::FlushQuads() {
    CQuadBatch::Flush();
    // The application's own OpenGL calls follow: what the engine knows may not hold after them.
    CRenderState::MarkStale();
}

std::vector<Uint8> CGraphicsCore::ReadPixels() {
    std::vector<Uint8> pixels;
    SDL_Surface* screen = SDL_GetVideoSurface();
    if (screen == nullptr) {
        return pixels;
    }
    FlushQuads();
    const int width = screen->w;
    const int height = screen->h;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    pixels.resize(rowBytes * static_cast<size_t>(height));
    // RGBA bytes are what WebGL reads back too; rows of four-byte pixels need no pack alignment.
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // OpenGL's rows count from the bottom.
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        Uint8* upper = pixels.data() + rowBytes * static_cast<size_t>(top);
        Uint8* lower = pixels.data() + rowBytes * static_cast<size_t>(bottom);
        std::swap_ranges(upper, upper + rowBytes, lower);
    }
    return pixels;
}

bool CGraphicsCore::SaveScreenshot(const std::string& path) {
    std::vector<Uint8> pixels = ReadPixels();
    std::string problem = "No window is open";
    if (!pixels.empty()) {
        SDL_Surface* screen = SDL_GetVideoSurface();
        // No alpha mask: the file holds the colours as the window shows them.
        SDL_Surface* picture = SDL_CreateRGBSurfaceFrom(
            pixels.data(), screen->w, screen->h, 32, screen->w * 4, CPixelFormat::kRedMask,
            CPixelFormat::kGreenMask, CPixelFormat::kBlueMask, 0);
        problem = picture != nullptr ? CPlatform::SaveBmp(picture, path.c_str()) : SDL_GetError();
        SDL_FreeSurface(picture);
    }
    if (!problem.empty()) {
        std::cout << "Failed to save the screenshot: " << path << ", Error: " << problem
                  << std::endl;
        return false;
    }
    return true;
}

void CGraphicsCore::SetWireframe(bool on) {
    m_wireframe = on;
    glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL);
}

void CGraphicsCore::ShowCursor(bool show) {
    CPlatform::ShowPointer(show);
}

void CGraphicsCore::SetCursorImage(const std::string& file) {
    // The replaced sprite is freed rather than leaked; the current pointer moves to the new one.
    delete m_pCursor;
    m_pCursor = new CSprite(file);
    m_customCursor = true;
    m_pCurrentCursor = m_pCursor;
    CPlatform::ShowPointer(false);
}

void CGraphicsCore::SetAltCursorImage(const std::string& file) {
    // A selected alternate cursor stays selected through the reload.
    bool altSelected = m_pAltCursor != nullptr && m_pCurrentCursor == m_pAltCursor;
    delete m_pAltCursor;
    m_pAltCursor = new CSprite(file);
    if (altSelected) {
        m_pCurrentCursor = m_pAltCursor;
    }
    m_hasAltCursor = true;
}

void CGraphicsCore::SetCursorImages(const std::string& file, const std::string& altFile) {
    SetCursorImage(file);
    SetAltCursorImage(altFile);
    m_pCurrentCursor = m_pCursor;
}

void CGraphicsCore::UseAltCursor(bool alt) {
    m_pCurrentCursor = alt ? m_pAltCursor : m_pCursor;
}

void CGraphicsCore::DrawCursor() {
    if (g_pEventManager == nullptr) {
        return;
    }
    float x = static_cast<float>(g_pEventManager->GetMouseX());
    float y = static_cast<float>(g_pEventManager->GetMouseY());
    CSprite* sprite = m_hasAltCursor ? m_pCurrentCursor : m_pCursor;
    if (sprite != nullptr) {
        sprite->Draw(x, y, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    }
}

const char* CGraphicsCore::GetVendor() const {
    return GlString(GL_VENDOR);
}

const char* CGraphicsCore::GetRenderer() const {
    return GlString(GL_RENDERER);
}

const char* CGraphicsCore::GetVersion() const {
    return GlString(GL_VERSION);
}

void CGraphicsCore::ReadExtensions() {
    CRenderState::SetEnabled(GL_SCISSOR_TEST, true, true);
    m_extensions = GlString(GL_EXTENSIONS);
    CRenderState::SetEnabled(GL_SCISSOR_TEST, false, true);
}

void CGraphicsCore::SetCaption(const std::string& caption) {
    m_caption = caption;
    SDL_WM_SetCaption(m_caption.c_str(), "");
}
