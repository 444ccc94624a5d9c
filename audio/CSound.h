// CSound: one sound effect held in memory as a mixer chunk and played on any free channel. A
// successful load hands the object to the sound manager, which owns it from then on.
#pragma once

#include <string>

struct Mix_Chunk;

class CSound {
public:
    // Loads the file unless the name is empty.
    explicit CSound(const std::string& fileName);
    ~CSound();

    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    // Writes "Failed to load sound: " and the name when the file cannot be decoded (or there is
    // no open audio device); on success registers with the sound manager.
    bool Load(const std::string& fileName);
    // loops: extra repetitions, 0 plays once, -1 repeats until stopped.
    void Play(int loops);
    // Hands the object to the sound manager, which deletes it; do not use it afterwards.
    void Free();

    bool IsLoaded() const { return chunk != nullptr; }
    Mix_Chunk* GetChunk() const { return chunk; }
    const std::string& GetFileName() const { return fileName; }

private:
    Mix_Chunk* chunk;
    std::string fileName;
};
