// CMusic: loading, playing and freeing one music piece.
#include "audio/CMusic.h"

#include <SDL_mixer.h>

#include <iostream>

#include "audio/CSoundManager.h"
#include "platform/CPlatform.h"
#include "utils/CFileCheck.h"

CMusic::CMusic(const std::string& fileName) : music(nullptr), fileName(fileName) {
    if (!fileName.empty()) {
        Load(fileName);
    }
}

CMusic::~CMusic() {
    // After shutdown the manager is gone; only unloaded pieces can be left then, as the manager
    // frees every loaded one before it closes the device.
    if (g_pSoundManager != nullptr) {
        g_pSoundManager->HaltMusicIfPlaying();
    }
    if (music != nullptr) {
        Mix_FreeMusic(music);
    }
}

bool CMusic::Load(const std::string& fileName) {
    // The decoders read the device's format at load time, so nothing is loaded without one.
    Mix_Music* loaded = nullptr;
    std::string cause = "no audio device is open";
    if (g_pSoundManager != nullptr && g_pSoundManager->IsDeviceOpen()) {
        // The mixer's music loader leaks its stream on a directory, so it never sees one.
        cause.clear();
        std::FILE* file = CFileCheck::Open(fileName.c_str(), &cause);
        if (file != nullptr) {
            loaded = CPlatform::LoadMusic(file, fileName.c_str());
            cause = Mix_GetError();
        } else if (cause.empty()) {
            cause = "Couldn't open '" + fileName + "'";
        }
    }
    if (loaded == nullptr) {
        std::cout << "Failed to load music " << fileName << std::endl;
        std::cerr << "Music " << fileName << " not loaded: " << cause << std::endl;
        return false;
    }
    // A second load replaces the piece without registering the object twice.
    const bool registered = music != nullptr;
    if (registered) {
        g_pSoundManager->HaltMusicIfPlaying();
        Mix_FreeMusic(music);
    }
    music = loaded;
    this->fileName = fileName;
    if (!registered) {
        g_pSoundManager->AddMusic(this);
    }
    return true;
}

void CMusic::Play(int loops) {
    if (music == nullptr) {
        return;
    }
    if (g_pSoundManager != nullptr) {
        g_pSoundManager->HaltMusicIfPlaying();
    }
    Mix_PlayMusic(music, loops);
}

void CMusic::Free() {
    if (music == nullptr) {
        return;
    }
    if (g_pSoundManager != nullptr) {
        g_pSoundManager->HaltMusicIfPlaying();
        g_pSoundManager->RemoveMusic(this);
    } else {
        delete this;
    }
}
