// CSound: loading, playing and freeing one sound effect.
#include "audio/CSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <iostream>

#include "audio/CSoundManager.h"

CSound::CSound(const std::string& fileName) : chunk(nullptr), fileName(fileName) {
    if (!fileName.empty()) {
        Load(fileName);
    }
}

CSound::~CSound() {
    if (chunk != nullptr) {
        Mix_FreeChunk(chunk);
    }
}

bool CSound::Load(const std::string& fileName) {
    // Without a manager to own the chunk or a device to decode for, there is nothing to load
    // into; the mixer is not asked at all.
    Mix_Chunk* loaded = nullptr;
    if (g_pSoundManager != nullptr && g_pSoundManager->IsDeviceOpen()) {
        loaded = Mix_LoadWAV_RW(SDL_RWFromFile(fileName.c_str(), "rb"), 1);
    }
    if (loaded == nullptr) {
        std::cout << "Failed to load sound: " << fileName << std::endl;
        return false;
    }
    // A second load replaces the data; the object is registered already and must not be
    // registered twice, or the manager would delete it twice.
    const bool registered = chunk != nullptr;
    if (registered) {
        Mix_FreeChunk(chunk);
    }
    chunk = loaded;
    this->fileName = fileName;
    if (!registered) {
        g_pSoundManager->AddSound(this);
    }
    return true;
}

void CSound::Play(int loops) {
    if (chunk == nullptr) {
        return;
    }
    if (Mix_PlayChannelTimed(-1, chunk, loops, -1) == -1) {
        std::cout << "Failed to play sound " << fileName << " " << SDL_GetError() << std::endl;
    }
}

void CSound::Free() {
    if (g_pSoundManager != nullptr) {
        g_pSoundManager->RemoveSound(this);
    } else {
        delete this;
    }
}
