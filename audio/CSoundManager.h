/// @file
/// CSoundManager: the audio device, the registries of sounds and music, the volumes; declares
/// g_pSoundManager.
#pragma once

#include <cstddef>
#include <vector>

class CSound;
class CMusic;

/// The highest volume, for SetSoundVolume and SetMusicVolume; 0 is silent.
const int MAX_VOLUME = 128;

/// Opens the audio device through SDL_mixer, owns the registered sound effects and music
/// pieces, plays them by registry index and keeps the two volumes. Shutdown frees everything
/// and closes the device last.
///
/// The engine creates the one instance (g_pSoundManager) at start-up, which opens the device;
/// no window is needed for audio. Sounds and music register themselves when they load
/// successfully: create them with new (CSound, CMusic), and from a successful load on they
/// belong to the manager, which deletes them at engine shutdown. One whose load failed is not
/// registered and stays the application's to delete. Registry indices follow the order of the
/// successful loads, sounds and music counted separately; removing an entry shifts the later
/// ones down.
class CSoundManager {
public:
    /// Opens the device (22050 Hz, signed 16-bit little-endian, stereo, 4096-byte chunks); on
    /// failure writes "Unable to open audio" and goes on without a device. Only engine start-up
    /// creates the manager; use g_pSoundManager.
    CSoundManager();
    /// Deletes every registered sound and music piece, then closes the device.
    ~CSoundManager();

    /// Appends to the sound registry, taking ownership; CSound::Load calls it.
    void AddSound(CSound* sound);
    /// Drops the sound from the registry and deletes it (also when it was not registered);
    /// CSound::Free calls it.
    void RemoveSound(CSound* sound);
    /// Appends to the music registry, taking ownership; CMusic::Load calls it.
    void AddMusic(CMusic* music);
    /// Drops the piece from the registry and deletes it (also when it was not registered);
    /// CMusic::Free calls it.
    void RemoveMusic(CMusic* music);
    /// Plays the sound at that registry index (CSound::Play); an index out of range is ignored.
    void PlaySound(unsigned int index, int loops);
    /// Plays the music piece at that registry index (CMusic::Play); an index out of range is
    /// ignored.
    void PlayMusic(unsigned int index, int loops);
    /// Sets the volume of every effect channel, held within 0 to MAX_VOLUME.
    void SetSoundVolume(int volume);
    /// Sets the music volume, held within 0 to MAX_VOLUME.
    void SetMusicVolume(int volume);
    /// The volumes last set, MAX_VOLUME at first.
    /// @{
    int GetSoundVolume() const { return soundVolume; }
    int GetMusicVolume() const { return musicVolume; }
    /// @}
    /// Stops the music stream when something is playing on it.
    void HaltMusicIfPlaying();

    /// Whether the audio device opened; without it nothing loads or plays.
    bool IsDeviceOpen() const { return deviceOpen; }
    /// The registries, in order of registration; the getters give null past the end, and the
    /// objects stay the manager's.
    /// @{
    size_t GetSoundCount() const { return sounds.size(); }
    size_t GetMusicCount() const { return musics.size(); }
    CSound* GetSound(size_t index) const { return index < sounds.size() ? sounds[index] : nullptr; }
    CMusic* GetMusic(size_t index) const { return index < musics.size() ? musics[index] : nullptr; }
    /// @}

private:
    std::vector<CSound*> sounds;
    std::vector<CMusic*> musics;
    int soundVolume;
    int musicVolume;
    bool deviceOpen;
};

/// The sound manager, created by engine start-up and deleted by shutdown; null outside the
/// engine's lifetime.
extern CSoundManager* g_pSoundManager;
