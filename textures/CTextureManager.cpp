// CTextureManager: registry of loaded sprites, keyed by texture name.
#include "textures/CTextureManager.h"

#include <algorithm>

#include "textures/CSprite.h"

CTextureManager* g_pTextureManager = nullptr;

CTextureManager::CTextureManager() {
    sprites.clear();
}

CTextureManager::~CTextureManager() {}

void CTextureManager::AddTexture(CSprite* sprite) {
    for (CSprite* entry : sprites) {
        if (entry->GetTexture() == sprite->GetTexture()) {
            return;
        }
    }
    sprites.push_back(sprite);
}

void CTextureManager::RemoveTexture(CSprite* sprite) {
    bool found = false;
    size_t position = 0;
    for (size_t i = 0; i < sprites.size(); ++i) {
        if (sprites[i]->GetTexture() == sprite->GetTexture()) {
            found = true;
            position = i;
        }
    }
    if (!found) {
        return;
    }
    sprites.erase(sprites.begin() + static_cast<std::ptrdiff_t>(position));
    delete sprite;
}

void CTextureManager::ReloadTextures() {
    for (CSprite* entry : sprites) {
        if (!entry->GetFileName().empty()) {
            entry->Reload(entry->GetFileName());
        }
    }
}

void CTextureManager::Unregister(const CSprite* sprite) {
    sprites.erase(std::remove(sprites.begin(), sprites.end(), sprite), sprites.end());
}
