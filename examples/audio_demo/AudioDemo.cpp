// AudioDemo: sound effects and music through the sound manager, with the state on screen.
#include "examples/audio_demo/AudioDemo.h"

#include <GL/gl.h>
#include <SDL.h>
#include <SDL_mixer.h>

#include <iostream>

#include "audio/CMusic.h"
#include "audio/CSound.h"
#include "audio/CSoundManager.h"
#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "input/CEventManager.h"
#include "text/CFont.h"
#include "text/CFontManager.h"

namespace {

const int kVolumeStep = 16;

}  // namespace

AudioDemo::AudioDemo() : m_musicOn(false), m_effectsPlayed(0) {}

AudioDemo::~AudioDemo() {
    // The sound manager owns the effect and the music once they loaded, and frees both at
    // engine shutdown; nothing is left to free here.
}

void AudioDemo::Init() {
    m_pEngine->SetVideoMode(1024, 768, 16, false, true);
    g_pGraphicsCore->SetCaption("Orvane Engine - Audio Example");
    m_pEngine->ShowFPS(true);
    // Registered with the sound manager on success: index 0 in each registry. A file that does
    // not load stays ours, so it is freed at once.
    CSound* effect = new CSound("Data/Sounds/blip.wav");
    if (!effect->IsLoaded()) {
        delete effect;
    }
    CMusic* music = new CMusic("Data/Sounds/tune.ogg");
    if (!music->IsLoaded()) {
        delete music;
    }
}

bool AudioDemo::HandleInput() {
    if (!g_pEventManager->HasEvent()) {
        return true;
    }
    if (g_pEventManager->IsEvent(EVENT_QUIT) || g_pEventManager->IsKeyDown(SDLK_ESCAPE)) {
        return false;
    }
    if (!g_pEventManager->IsEvent(EVENT_KEYDOWN)) {
        return true;
    }
    switch (g_pEventManager->GetEvent().key.keysym.sym) {
        case SDLK_SPACE:
            g_pSoundManager->PlaySound(0, 0);
            ++m_effectsPlayed;
            std::cout << "Effect played" << std::endl;
            break;
        case SDLK_m:
            if (m_musicOn) {
                g_pSoundManager->HaltMusicIfPlaying();
                std::cout << "Music: stopped" << std::endl;
            } else {
                g_pSoundManager->PlayMusic(0, -1);
                std::cout << "Music: playing" << std::endl;
            }
            m_musicOn = !m_musicOn;
            break;
        case SDLK_UP:
            g_pSoundManager->SetMusicVolume(g_pSoundManager->GetMusicVolume() + kVolumeStep);
            break;
        case SDLK_DOWN:
            g_pSoundManager->SetMusicVolume(g_pSoundManager->GetMusicVolume() - kVolumeStep);
            break;
        case SDLK_RIGHT:
            g_pSoundManager->SetSoundVolume(g_pSoundManager->GetSoundVolume() + kVolumeStep);
            break;
        case SDLK_LEFT:
            g_pSoundManager->SetSoundVolume(g_pSoundManager->GetSoundVolume() - kVolumeStep);
            break;
        default:
            break;
    }
    return true;
}

void AudioDemo::MainLoop() {
    while (RunFrame()) {
    }
}

bool AudioDemo::RunFrame() {
    RenderFrame();
    return HandleInput();
}

void AudioDemo::RenderFrame() {
    glClearColor(0.08f, 0.10f, 0.18f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    m_pEngine->Update();

    if (CFont* font = g_pFontManager->GetFont(1)) {
        font->Print(100, 100, 2, "Audio example");
        font->Print(100, 160, 0, "Audio device: %s",
                    g_pSoundManager->IsDeviceOpen() ? "open" : "not available");
        font->Print(100, 190, 0, "Music: %s",
                    m_musicOn && Mix_PlayingMusic() ? "playing" : "stopped");
        font->Print(100, 220, 0, "Music volume: %d", g_pSoundManager->GetMusicVolume());
        font->Print(100, 250, 0, "Effect volume: %d", g_pSoundManager->GetSoundVolume());
        font->Print(100, 280, 0, "Effects played: %d", m_effectsPlayed);
        font->PrintColored(100, 360, 0, 0.7f, 0.8f, 1.0f,
                           "Space: play the effect   M: music on/off");
        font->PrintColored(100, 390, 0, 0.7f, 0.8f, 1.0f,
                           "Up/Down: music volume   Left/Right: effect volume");
        font->PrintColored(100, 420, 0, 0.7f, 0.8f, 1.0f, "Esc: quit");
    }
    SDL_GL_SwapBuffers();
}
