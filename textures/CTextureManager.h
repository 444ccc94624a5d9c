/// @file
/// CTextureManager: the registry of loaded sprites; declares g_pTextureManager.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <unordered_map>
#include <vector>

class CSprite;

/// The registry of every sprite whose image became an OpenGL texture. It lists sprites without
/// owning them; a sprite registers itself when its image loads and unregisters itself when it
/// is destroyed, so the registry never holds a destroyed sprite.
///
/// The engine creates the one instance (g_pTextureManager) at start-up. The texture manager
/// lists sprites but never owns them: the application owns the sprites it creates (and
/// deletes them in its destructor), a GUI window, button or animated sprite owns the ones it
/// loads, the graphics core owns the cursor sprites. Applications rarely call it; entries are
/// reached by registration order.
///
/// Registering, unregistering and removing cost the same however many sprites are listed: the
/// entries are found through indexes by texture name and by sprite, and a dropped entry leaves
/// a gap that is closed once gaps make up half the list (or when entries are read by position).
class CTextureManager {
public:
    /// An empty registry. Only engine start-up creates the manager; use g_pTextureManager.
    CTextureManager();
    /// Releases the list only; no sprite is destroyed.
    ~CTextureManager();

    /// Appends the sprite unless a sprite with the same texture name is registered already.
    /// Sprites call it when their image loads.
    void AddTexture(CSprite* sprite);
    /// Unregisters the last entry with the sprite's texture name and destroys the given sprite;
    /// does nothing at all when no entry matches.
    ///
    /// The one operation that deletes a sprite: the caller must own it and must not use it
    /// afterwards.
    void RemoveTexture(CSprite* sprite);
    /// Calls Reload on every registered sprite that has a file name.
    void ReloadTextures();
    /// Drops every entry that is this very sprite; called by the sprite's destructor.
    void Unregister(const CSprite* sprite);

    /// The number of registered sprites.
    size_t GetCount() const { return sprites.size() - gaps; }
    /// The sprite registered at that position, null past the end.
    CSprite* GetSprite(size_t index) const;

    /// Sprites whose file could not be loaded wait, with the file's name, until it loads, so
    /// that live reload watches that file too. Sprites call AddWaiting when a load fails;
    /// registering a sprite or destroying it ends its wait. Each costs the same however many
    /// sprites wait.
    /// @{
    void AddWaiting(CSprite* sprite, const std::string& fileName);
    size_t GetWaitingCount() const { return waiting.size(); }
    CSprite* GetWaitingSprite(size_t index) const { return waiting[index].first; }
    const std::string& GetWaitingFile(size_t index) const { return waiting[index].second; }
    /// @}

private:
    /// Takes the entry at that slot out of the indexes and leaves a gap.
    void Drop(size_t slot);
    /// Closes the gaps, keeping the order, and renumbers the indexes.
    void Compact() const;

    /// Registration order; null where an entry was dropped.
    mutable std::vector<CSprite*> sprites;
    /// The texture name each slot was registered with.
    mutable std::vector<unsigned int> textures;
    mutable size_t gaps = 0;
    /// Where each registered texture name and each registered sprite is listed.
    mutable std::unordered_map<unsigned int, size_t> slotOfTexture;
    mutable std::unordered_map<const CSprite*, size_t> slotOfSprite;
    /// The waiting sprites, in no particular order, and where each one is.
    std::vector<std::pair<CSprite*, std::string>> waiting;
    std::unordered_map<const CSprite*, size_t> slotOfWaiting;

    /// Ends the sprite's wait, if it waits.
    void EndWait(const CSprite* sprite);
};

/// The texture manager, created by engine start-up and deleted by shutdown; null outside the
/// engine's lifetime.
extern CTextureManager* g_pTextureManager;
