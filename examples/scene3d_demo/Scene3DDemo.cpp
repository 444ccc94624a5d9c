// Scene3DDemo: set-up, the frame loop and drawing of the 3D example.
#include "examples/scene3d_demo/Scene3DDemo.h"

#include <GL/glew.h>
#include <SDL.h>

#include <initializer_list>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>

#include "camera/CCamera.h"
#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "input/CEventManager.h"
#include "platform/CPlatform.h"
#include "shading/CShaderManager.h"
#include "shading/CShaderProgram.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CSprite.h"
#include "utils/CUtils.h"

namespace {

const float kTorusMajor = 2.2f;
const float kTorusMinor = 0.9f;
const float kTorusX = 0.0f;
const float kTorusY = 3.0f;
const float kTorusZ = 2.0f;
// Degrees per millisecond of the torus's slow turn, so every side meets the light.
const float kTorusSpin = 0.02f;
// A frame that took longer than this (start-up, a stall) moves the ball as if it had not.
const float kLongestFrame = 0.1f;

const char* const kProgramNames[] = {
    "simple texture (sprites and text)",
    "simple colour",
    "heightmap colours with texture",
    "directional diffuse per pixel",
    "directional diffuse per vertex",
    "point light per pixel",
    "spot light per pixel",
    "toon bands",
    "per-vertex diffuse with texture",
    "per-pixel diffuse with texture",
};
const int kProgramCount = 10;

bool Textured(int program) {
    return program == 2 || program == 8 || program == 9;
}

std::string Point(const CVector3& p) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << "(" << p.x << ", " << p.y << ", " << p.z << ")";
    return text.str();
}

bool AnyHeld(const Uint8* keys, std::initializer_list<SDLKey> symbols) {
    for (SDLKey key : symbols) {
        if (keys[key] != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

Scene3DDemo::Scene3DDemo()
    : m_pTexture(nullptr),
      m_torus(Mesh::Torus(kTorusMajor, kTorusMinor, 48, 24)),
      m_ball(Mesh::Sphere(CollisionArena::BALL_RADIUS, 16, 24)),
      m_program(3),
      m_ballKeysHeld(false),
      m_cameraKeysHeld(false),
      m_reportedContact(false) {}

Scene3DDemo::~Scene3DDemo() {
    delete m_pTexture;
    m_pTexture = nullptr;
}

void Scene3DDemo::Init() {
    m_pEngine->SetVideoMode(1024, 768, 16, false, false);
    g_pGraphicsCore->SetCaption("Orvane Engine - 3D Example");
    // The camera's movement is scaled by the frame time, which only runs with the display on.
    m_pEngine->ShowFPS(true);
    // The mouse turns the view and is held in the middle of the window; no pointer is drawn.
    g_pGraphicsCore->ShowCursor(false);
    // Until the pointer's first motion SDL reports it at (0, 0), which the first look would
    // take for a jump of half the window; starting it in the middle keeps the first view.
    int middleX = g_pGraphicsCore->GetWidth() / 2;
    int middleY = g_pGraphicsCore->GetHeight() / 2;
    CPlatform::WarpPointer(middleX, middleY);
    for (int tries = 0; tries < 50; ++tries) {
        SDL_PumpEvents();
        int x = 0;
        int y = 0;
        CPlatform::GetPointer(&x, &y);
        if (x == middleX && y == middleY) {
            break;
        }
        SDL_Delay(2);
    }
    g_pCamera->Place(-4.0f, 9.0f, -24.0f, -4.0f, -7.0f, 36.0f, 0.0f, 1.0f, 0.0f);
    m_pTexture = new CSprite("Data/MAP1.png");
    std::cout << "Shader: " << m_program << std::endl;
}

bool Scene3DDemo::HandleInput() {
    if (!g_pEventManager->HasEvent()) {
        return true;
    }
    if (g_pEventManager->IsEvent(EVENT_QUIT) || g_pEventManager->IsKeyDown(SDLK_ESCAPE)) {
        return false;
    }
    if (!g_pEventManager->IsEvent(EVENT_KEYDOWN)) {
        return true;
    }
    int key = g_pEventManager->GetEvent().key.keysym.sym;
    if (key >= SDLK_1 && key <= SDLK_9 && key - SDLK_0 != m_program) {
        m_program = key - SDLK_0;
        std::cout << "Shader: " << m_program << std::endl;
    }
    return true;
}

void Scene3DDemo::MoveBall() {
    // Held keys rather than key events: the ball rolls for as long as a key is down.
    const Uint8* keys = CPlatform::HeldKeys();
    float dirX = 0.0f;
    float dirZ = 0.0f;
    // The view starts looking along +z, so +x is to the left on the screen.
    if (keys[SDLK_i] != 0) {
        dirZ += 1.0f;
    }
    if (keys[SDLK_k] != 0) {
        dirZ -= 1.0f;
    }
    if (keys[SDLK_j] != 0) {
        dirX += 1.0f;
    }
    if (keys[SDLK_l] != 0) {
        dirX -= 1.0f;
    }
    float dt = g_pUtils->GetFrameTime();
    m_arena.Step(dirX, dirZ, dt < kLongestFrame ? dt : kLongestFrame);

    bool held = AnyHeld(keys, {SDLK_i, SDLK_j, SDLK_k, SDLK_l});
    if (held && !m_arena.GetContact().empty() && !m_reportedContact) {
        std::cout << "Ball touches: " << m_arena.GetContact() << std::endl;
        m_reportedContact = true;
    }
    if (!held && m_ballKeysHeld) {
        std::cout << "Ball at " << Point(m_arena.GetBall()) << std::endl;
        m_reportedContact = false;
    }
    m_ballKeysHeld = held;
}

void Scene3DDemo::ReportCamera() {
    const Uint8* keys = CPlatform::HeldKeys();
    bool held =
        AnyHeld(keys, {SDLK_w, SDLK_a, SDLK_s, SDLK_d, SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT});
    if (!held && m_cameraKeysHeld) {
        std::cout << "Camera at " << Point(g_pCamera->eye) << std::endl;
    }
    m_cameraKeysHeld = held;
}

void Scene3DDemo::MainLoop() {
    while (RunFrame()) {
    }
}

bool Scene3DDemo::RunFrame() {
    RenderFrame();
    return HandleInput();
}

void Scene3DDemo::SetLight(int program) const {
    const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat dim[] = {0.08f, 0.08f, 0.08f, 1.0f};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, dim);
    if (program == 5 || program == 6) {
        // Above the torus and towards the camera, close enough for the fall-off to show.
        const GLfloat position[] = {kTorusX, kTorusY + 6.0f, kTorusZ - 3.0f, 1.0f};
        const GLfloat direction[] = {0.0f, -6.0f, 3.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, position);
        glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 0.6f);
        glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.05f);
        glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, direction);
        glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, program == 6 ? 16.0f : 180.0f);
        glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 8.0f);
    } else {
        // From above, behind the camera's starting place and to its left.
        const GLfloat direction[] = {0.5f, 1.0f, -0.7f, 0.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, direction);
        glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 1.0f);
        glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.0f);
        glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 180.0f);
    }
}

void Scene3DDemo::DrawDebugShapes() const {
    g_pUtils->DrawGrid(0.0f, 0.0f, 0.0f);
    g_pUtils->DrawAxes();
    g_pUtils->DrawCube(6.0f, 1.0f, -4.0f);
    g_pUtils->DrawCube(9.0f, 1.0f, 8.0f);
    g_pUtils->DrawCube(-3.0f, 1.0f, 14.0f);
}

void Scene3DDemo::DrawArena() const {
    // The fixed-function pipeline lights the walls and the ball, both faces of each wall.
    SetLight(0);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    m_arena.Draw();
    const CVector3& ball = m_arena.GetBall();
    glPushMatrix();
    glTranslatef(ball.x, ball.y, ball.z);
    glColor3f(1.0f, 0.45f, 0.1f);
    m_ball.Draw();
    glPopMatrix();
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
}

void Scene3DDemo::DrawTorus() const {
    CShaderProgram* program = g_pShaderManager->GetProgram(m_program);
    if (program == nullptr) {
        return;
    }
    SetLight(m_program);
    program->Bind();
    // A program whose files were missing has no object; it draws through the fixed pipeline.
    GLhandleARB handle = program->GetHandle();
    if (Textured(m_program) && m_pTexture != nullptr) {
        m_pTexture->BindToUnit(0);
        if (handle != 0) {
            program->SetUniformInt("tex", 0);
        }
    }
    if (m_program == 2 && handle != 0) {
        // Heights run over the tube's own span, so all four bands show on the torus.
        program->SetUniformInt("useTexture", 1);
        glUniform2fARB(glGetUniformLocationARB(handle, "heightRange"), -kTorusMinor, kTorusMinor);
    }
    glPushMatrix();
    glTranslatef(kTorusX, kTorusY, kTorusZ);
    glRotatef(static_cast<float>(SDL_GetTicks()) * kTorusSpin, 0.0f, 1.0f, 0.0f);
    glRotatef(60.0f, 1.0f, 0.0f, 0.0f);
    glColor3f(0.85f, 0.85f, 0.95f);
    m_torus.Draw();
    glPopMatrix();
    program->Unbind();
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
}

void Scene3DDemo::DrawText() const {
    CFont* font = g_pFontManager->GetFont(1);
    if (font == nullptr) {
        return;
    }
    const char* name = m_program >= 0 && m_program < kProgramCount ? kProgramNames[m_program] : "";
    font->Print(20, 30, 0, "Shader %d: %s", m_program, name);
    std::string contact = m_arena.GetContact().empty() ? "nothing" : m_arena.GetContact();
    font->Print(20, 56, 0, "Ball %s touches %s", Point(m_arena.GetBall()).c_str(), contact.c_str());
    font->PrintColored(20, 716, 0, 0.7f, 0.8f, 1.0f,
                       "Mouse: look   W A S D: move   1 to 9: shader of the torus");
    font->PrintColored(20, 740, 0, 0.7f, 0.8f, 1.0f, "I J K L: roll the ball   Esc: quit");
}

void Scene3DDemo::RenderFrame() {
    glClearColor(0.05f, 0.07f, 0.12f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    m_pEngine->Update();

    g_pCamera->Update();
    ReportCamera();
    MoveBall();
    glLoadIdentity();
    g_pCamera->Look();

    // The frame step leaves 2D drawing state behind: blending and texturing on, and perhaps
    // a program bound. The scene is opaque and untextured unless a program asks for it.
    glUseProgramObjectARB(0);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    DrawDebugShapes();
    DrawArena();
    DrawTorus();

    DrawText();
    SDL_GL_SwapBuffers();
}
