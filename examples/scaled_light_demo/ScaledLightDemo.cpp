// ScaledLightDemo: a still picture, the same in every frame, so pictures can be compared.
#include "examples/scaled_light_demo/ScaledLightDemo.h"

#include <GL/glew.h>
#include <SDL.h>

#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "input/CEventManager.h"
#include "shading/CShaderManager.h"
#include "shading/CShaderProgram.h"

namespace {

// The built-in program "directional diffuse per pixel".
const int kProgram = 3;

}  // namespace

ScaledLightDemo::ScaledLightDemo() : m_ball(Mesh::Sphere(1.0f, 32, 64)) {}

void ScaledLightDemo::Init() {
    m_pEngine->SetVideoMode(1024, 768, 16, false, false);
    g_pGraphicsCore->SetCaption("Orvane Engine - Scaled Light Example");
    // Shrunk pictures read the mip levels; the filter is set after loading, as a program that
    // shrinks a sprite would set it.
    m_logo.Load("Data/Logo/orvlogo.png");
    g_pGraphicsCore->FlushQuads();
    glBindTexture(GL_TEXTURE_2D, m_logo.GetTexture());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
}

void ScaledLightDemo::MainLoop() {
    while (RunFrame()) {
    }
}

bool ScaledLightDemo::RunFrame() {
    RenderFrame();
    // The frame step has read this frame's event.
    return !g_pEventManager->HasEvent() ||
           !(g_pEventManager->IsEvent(EVENT_QUIT) || g_pEventManager->IsKeyDown(SDLK_ESCAPE));
}

void ScaledLightDemo::RenderFrame() {
    glClearColor(0.05f, 0.07f, 0.12f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    m_pEngine->Update();
    glLoadIdentity();

    // In eye coordinates: from the upper left, towards the viewer.
    const GLfloat direction[] = {-0.6f, 0.7f, 0.4f, 0.0f};
    const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat dim[] = {0.05f, 0.05f, 0.05f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, dim);

    glUseProgramObjectARB(0);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    CShaderProgram* program = g_pShaderManager->GetProgram(kProgram);
    if (program != nullptr) {
        program->Bind();
    }
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -6.0f);
    glRotatef(30.0f, 0.0f, 0.0f, 1.0f);
    glScalef(3.0f, 0.8f, 1.5f);
    glColor3f(0.7f, 0.6f, 0.45f);
    m_ball.Draw();
    glPopMatrix();
    if (program != nullptr) {
        program->Unbind();
    }
    glDisable(GL_DEPTH_TEST);
    glColor3f(1.0f, 1.0f, 1.0f);
    g_pGraphicsCore->Begin2D();
    m_logo.Draw(880.0f, 720.0f, 0.5f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    g_pGraphicsCore->End2D();
    SDL_GL_SwapBuffers();
}
