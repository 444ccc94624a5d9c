// CMusic: one music piece played on the mixer's single music stream. A successful load hands
// the object to the sound manager, which owns it from then on.
#pragma once

#include <string>

struct _Mix_Music;
typedef struct _Mix_Music Mix_Music;

class CMusic {
public:
    // Loads the file unless the name is empty.
    explicit CMusic(const std::string& fileName);
    // Stops whatever music is playing, then frees this piece.
    ~CMusic();

    CMusic(const CMusic&) = delete;
    CMusic& operator=(const CMusic&) = delete;

    // Writes "Failed to load music " and the name when the file cannot be decoded (or there is
    // no open audio device); on success registers with the sound manager.
    bool Load(const std::string& fileName);
    // Stops the music playing now and starts this piece from the beginning; loops is the number
    // of times to play, -1 repeats until stopped.
    void Play(int loops);
    // A loaded piece is stopped and handed to the sound manager, which deletes it; an unloaded
    // one is left alone.
    void Free();

    bool IsLoaded() const { return music != nullptr; }
    Mix_Music* GetMusic() const { return music; }
    const std::string& GetFileName() const { return fileName; }

private:
    Mix_Music* music;
    std::string fileName;
};
