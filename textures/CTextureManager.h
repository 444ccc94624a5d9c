// CTextureManager: the registry of every sprite whose image became an OpenGL texture. It lists
// sprites without owning them; a sprite registers itself when its image loads and unregisters
// itself when it is destroyed, so the registry never holds a destroyed sprite.
#pragma once

#include <cstddef>
#include <vector>

class CSprite;

class CTextureManager {
public:
    CTextureManager();
    // Releases the list only; no sprite is destroyed.
    ~CTextureManager();

    // Appends the sprite unless a sprite with the same texture name is registered already.
    void AddTexture(CSprite* sprite);
    // Unregisters the last entry with the sprite's texture name and destroys the given sprite;
    // does nothing at all when no entry matches.
    void RemoveTexture(CSprite* sprite);
    // Calls Reload on every registered sprite that has a file name.
    void ReloadTextures();
    // Drops every entry that is this very sprite; called by the sprite's destructor.
    void Unregister(const CSprite* sprite);

    size_t GetCount() const { return sprites.size(); }
    CSprite* GetSprite(size_t index) const {
        return index < sprites.size() ? sprites[index] : nullptr;
    }

private:
    std::vector<CSprite*> sprites;
};

extern CTextureManager* g_pTextureManager;
