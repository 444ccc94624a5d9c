// CTextureManager: registry of loaded sprites, keyed by texture name.
#include "textures/CTextureManager.h"

#include "textures/CSprite.h"

CTextureManager* g_pTextureManager = nullptr;

CTextureManager::CTextureManager() {
    sprites.clear();
}

CTextureManager::~CTextureManager() {}

void CTextureManager::AddTexture(CSprite* sprite) {
    EndWait(sprite);
    if (slotOfTexture.count(sprite->GetTexture()) != 0) {
        return;
    }
    auto listed = slotOfSprite.find(sprite);
    if (listed != slotOfSprite.end()) {
        // Its own entry matches: a sprite given a new texture is found by that one from now on.
        slotOfTexture.erase(textures[listed->second]);
        textures[listed->second] = sprite->GetTexture();
        slotOfTexture[sprite->GetTexture()] = listed->second;
        return;
    }
    slotOfTexture[sprite->GetTexture()] = sprites.size();
    slotOfSprite[sprite] = sprites.size();
    sprites.push_back(sprite);
    textures.push_back(sprite->GetTexture());
}

void CTextureManager::RemoveTexture(CSprite* sprite) {
    // One entry per texture name, so the only match is the last one.
    auto match = slotOfTexture.find(sprite->GetTexture());
    if (match == slotOfTexture.end()) {
        return;
    }
    Drop(match->second);
    delete sprite;
}

void CTextureManager::ReloadTextures() {
    // By position: a reload may register or unregister sprites meanwhile.
    for (size_t i = 0; i < sprites.size(); ++i) {
        CSprite* entry = sprites[i];
        if (entry != nullptr && !entry->GetFileName().empty()) {
            entry->Reload(entry->GetFileName());
        }
    }
}

void CTextureManager::AddWaiting(CSprite* sprite, const std::string& fileName) {
    auto listed = slotOfWaiting.find(sprite);
    if (listed != slotOfWaiting.end()) {
        waiting[listed->second].second = fileName;
        return;
    }
    slotOfWaiting[sprite] = waiting.size();
    waiting.emplace_back(sprite, fileName);
}

void CTextureManager::EndWait(const CSprite* sprite) {
    auto listed = slotOfWaiting.find(sprite);
    if (listed == slotOfWaiting.end()) {
        return;
    }
    // The last one takes the place of the one leaving.
    size_t slot = listed->second;
    slotOfWaiting.erase(listed);
    if (slot + 1 != waiting.size()) {
        waiting[slot] = std::move(waiting.back());
        slotOfWaiting[waiting[slot].first] = slot;
    }
    waiting.pop_back();
}

void CTextureManager::Unregister(const CSprite* sprite) {
    EndWait(sprite);
    auto listed = slotOfSprite.find(sprite);
    if (listed != slotOfSprite.end()) {
        Drop(listed->second);
    }
}

CSprite* CTextureManager::GetSprite(size_t index) const {
    if (gaps != 0) {
        Compact();
    }
    return index < sprites.size() ? sprites[index] : nullptr;
}

void CTextureManager::Drop(size_t slot) {
    slotOfTexture.erase(textures[slot]);
    slotOfSprite.erase(sprites[slot]);
    sprites[slot] = nullptr;
    ++gaps;
    // Keeps the list at most twice as long as the entries, at a constant cost per entry.
    if (gaps * 2 > sprites.size()) {
        Compact();
    }
}

void CTextureManager::Compact() const {
    size_t kept = 0;
    for (size_t i = 0; i < sprites.size(); ++i) {
        if (sprites[i] == nullptr) {
            continue;
        }
        sprites[kept] = sprites[i];
        textures[kept] = textures[i];
        slotOfTexture[textures[kept]] = kept;
        slotOfSprite[sprites[kept]] = kept;
        ++kept;
    }
    sprites.resize(kept);
    textures.resize(kept);
    gaps = 0;
}
