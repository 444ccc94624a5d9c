// CSoundManager: opens the audio device through SDL_mixer, owns the registered sound effects
// and music pieces, plays them by registry index and keeps the two volumes. Shutdown frees
// everything and closes the device last.
#pragma once

#include <cstddef>
#include <vector>

class CSound;
class CMusic;

const int MAX_VOLUME = 128;

class CSoundManager {
public:
    // Opens the device (22050 Hz, signed 16-bit little-endian, stereo, 4096-byte chunks); on
    // failure writes "Unable to open audio" and goes on without a device.
    CSoundManager();
    ~CSoundManager();

    void AddSound(CSound* sound);
    void RemoveSound(CSound* sound);
    void AddMusic(CMusic* music);
    void RemoveMusic(CMusic* music);
    void PlaySound(unsigned int index, int loops);
    void PlayMusic(unsigned int index, int loops);
    void SetSoundVolume(int volume);
    void SetMusicVolume(int volume);
    int GetSoundVolume() const { return soundVolume; }
    int GetMusicVolume() const { return musicVolume; }
    void HaltMusicIfPlaying();

    bool IsDeviceOpen() const { return deviceOpen; }
    size_t GetSoundCount() const { return sounds.size(); }
    size_t GetMusicCount() const { return musics.size(); }
    CSound* GetSound(size_t index) const { return index < sounds.size() ? sounds[index] : nullptr; }
    CMusic* GetMusic(size_t index) const { return index < musics.size() ? musics[index] : nullptr; }

private:
    std::vector<CSound*> sounds;
    std::vector<CMusic*> musics;
    int soundVolume;
    int musicVolume;
    bool deviceOpen;
};

extern CSoundManager* g_pSoundManager;
