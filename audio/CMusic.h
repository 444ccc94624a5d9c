/// @file
/// CMusic: one music piece played on the mixer's music stream.
#pragma once

#include <string>

/// @cond
struct _Mix_Music;
typedef struct _Mix_Music Mix_Music;
/// @endcond

/// One music piece played on the mixer's single music stream. A successful load hands the
/// object to the sound manager, which owns it from then on.
///
/// Create it with new any time after engine start-up; no window is needed. After a successful
/// load, never delete it yourself: the manager does at shutdown, or Free does at once. When
/// the load failed (IsLoaded false) the object is not registered and is yours to delete;
/// Free leaves such an object alone. Only one piece plays at a time.
class CMusic {
public:
    /// Loads the file unless the name is empty.
    explicit CMusic(const std::string& fileName);
    /// Stops whatever music is playing, then frees this piece.
    ~CMusic();

    /// Not copyable: the piece owns its mixer data and is registered by address.
    /// @{
    CMusic(const CMusic&) = delete;
    CMusic& operator=(const CMusic&) = delete;
    /// @}

    /// Writes "Failed to load music " and the name when the file cannot be decoded (or there is
    /// no open audio device), and the reason on standard error ("Music NAME not loaded: WHY",
    /// from SDL_mixer or SDL); on success registers with the sound manager.
    ///
    /// Loading a registered piece again replaces it and keeps its registry place.
    bool Load(const std::string& fileName);
    /// Stops the music playing now and starts this piece from the beginning; loops is the number
    /// of times to play, -1 repeats until stopped.
    void Play(int loops);
    /// A loaded piece is stopped and handed to the sound manager, which deletes it; an unloaded
    /// one is left alone.
    void Free();

    /// Whether a file is loaded, the mixer's music (null when not) and the name last loaded or
    /// given.
    /// @{
    bool IsLoaded() const { return music != nullptr; }
    Mix_Music* GetMusic() const { return music; }
    const std::string& GetFileName() const { return fileName; }
    /// @}

private:
    Mix_Music* music;
    std::string fileName;
};
