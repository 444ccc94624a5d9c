// CSoundManager: the audio device, the registries of sound effects and music, and the volumes.
#include "audio/CSoundManager.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <iostream>

#include "audio/CMusic.h"
#include "audio/CSound.h"

CSoundManager* g_pSoundManager = nullptr;

namespace {

const int kFrequency = 22050;
const Uint16 kFormat = AUDIO_S16LSB;
const int kChannels = 2;
const int kChunkSize = 4096;

int ClampVolume(int volume) {
    if (volume > MAX_VOLUME) {
        volume = MAX_VOLUME;
    }
    if (volume < 0) {
        volume = 0;
    }
    return volume;
}

}  // namespace

CSoundManager::CSoundManager()
    : soundVolume(MAX_VOLUME), musicVolume(MAX_VOLUME), deviceOpen(false) {
    SDL_Init(SDL_INIT_AUDIO);
    if (Mix_OpenAudio(kFrequency, kFormat, kChannels, kChunkSize) != 0) {
        std::cout << "Unable to open audio" << std::endl;
        SDL_Quit();
        return;
    }
    deviceOpen = true;
}

CSoundManager::~CSoundManager() {
    // Everything the mixer allocated is freed while the device is still open; the music is
    // halted once up front so that no piece is freed while the mixer is still streaming it.
    for (CSound* sound : sounds) {
        delete sound;
    }
    sounds.clear();
    HaltMusicIfPlaying();
    for (CMusic* music : musics) {
        delete music;
    }
    musics.clear();
    if (deviceOpen) {
        Mix_CloseAudio();
        deviceOpen = false;
    }
}

void CSoundManager::AddSound(CSound* sound) {
    sounds.push_back(sound);
}

void CSoundManager::RemoveSound(CSound* sound) {
    auto found = std::find(sounds.begin(), sounds.end(), sound);
    if (found != sounds.end()) {
        sounds.erase(found);
    }
    delete sound;
}

void CSoundManager::AddMusic(CMusic* music) {
    musics.push_back(music);
}

void CSoundManager::RemoveMusic(CMusic* music) {
    auto found = std::find(musics.begin(), musics.end(), music);
    if (found != musics.end()) {
        musics.erase(found);
    }
    delete music;
}

void CSoundManager::PlaySound(unsigned int index, int loops) {
    if (index < sounds.size() && sounds[index] != nullptr) {
        sounds[index]->Play(loops);
    }
}

void CSoundManager::PlayMusic(unsigned int index, int loops) {
    if (index < musics.size() && musics[index] != nullptr) {
        musics[index]->Play(loops);
    }
}

void CSoundManager::SetSoundVolume(int volume) {
    volume = ClampVolume(volume);
    if (deviceOpen) {
        Mix_Volume(-1, volume);
    }
    soundVolume = volume;
}

void CSoundManager::SetMusicVolume(int volume) {
    volume = ClampVolume(volume);
    if (deviceOpen) {
        Mix_VolumeMusic(volume);
    }
    musicVolume = volume;
}

void CSoundManager::HaltMusicIfPlaying() {
    if (deviceOpen && Mix_PlayingMusic() == 1) {
        Mix_HaltMusic();
    }
}
