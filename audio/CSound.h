/// @file
/// CSound: one sound effect played on any free mixer channel.
#pragma once

#include <string>

struct Mix_Chunk;

/// One sound effect held in memory as a mixer chunk and played on any free channel. A
/// successful load hands the object to the sound manager, which owns it from then on.
///
/// Create it with new (the manager deletes it with delete) any time after engine start-up; no
/// window is needed. After a successful load, never delete it yourself: the manager does at
/// shutdown, or Free does at once. When the load failed (IsLoaded false) the object is not
/// registered and is yours to delete (or to Free).
///
/// @code
/// CSound* blip = new CSound("Data/Sounds/blip.wav");
/// if (!blip->IsLoaded()) delete blip;     // otherwise the sound manager owns it
/// ...
/// g_pSoundManager->PlaySound(0, 0);       // or blip->Play(0) while it lives
/// @endcode
class CSound {
public:
    /// Loads the file unless the name is empty.
    explicit CSound(const std::string& fileName);
    /// Frees the chunk. Called by the sound manager for a registered sound.
    ~CSound();

    /// Not copyable: the sound owns its mixer chunk and is registered by address.
    /// @{
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;
    /// @}

    /// Writes "Failed to load sound: " and the name when the file cannot be decoded (or there is
    /// no open audio device), and the reason on standard error ("Sound NAME not loaded: WHY",
    /// from SDL_mixer or SDL); on success registers with the sound manager.
    ///
    /// Loading a registered sound again replaces its data and keeps its registry place.
    bool Load(const std::string& fileName);
    /// loops: extra repetitions, 0 plays once, -1 repeats until stopped.
    void Play(int loops);
    /// Hands the object to the sound manager, which deletes it; do not use it afterwards.
    void Free();

    /// Whether a file is loaded, the mixer chunk (null when not) and the name last loaded or
    /// given.
    /// @{
    bool IsLoaded() const { return chunk != nullptr; }
    Mix_Chunk* GetChunk() const { return chunk; }
    const std::string& GetFileName() const { return fileName; }
    /// @}

private:
    Mix_Chunk* chunk;
    std::string fileName;
};
