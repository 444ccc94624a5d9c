// CSound: loading, playing and freeing one sound effect.
#include "audio/CSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <iostream>

#include "audio/CSoundManager.h"
#include "platform/CPlatform.h"
#include "utils/CFileCheck.h"

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
    std::string cause = "no audio device is open";
    if (g_pSoundManager != nullptr && g_pSoundManager->IsDeviceOpen()) {
        cause.clear();
        std::FILE* file = CFileCheck::Open(fileName.c_str(), &cause);
        if (cause.empty()) {
            // Handed a file that would not open, the mixer only says that it got no stream;
            // opened apart, the failure keeps SDL's reason.
            SDL_RWops* stream =
                file != nullptr ? CPlatform::FileStream(file, fileName.c_str()) : nullptr;
            loaded = stream != nullptr ? Mix_LoadWAV_RW(stream, 1) : nullptr;
            cause = Mix_GetError();
        }
    }
    if (loaded == nullptr) {
        std::cout << "Failed to load sound: " << fileName << std::endl;
        std::cerr << "Sound " << fileName << " not loaded: " << cause << std::endl;
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
