// CLiveReload: from changed files to reloaded sprites and rebuilt programs.
#include "core/CLiveReload.h"

#include <algorithm>

#include "graphics/CGraphicsCore.h"
#include "shading/CShaderManager.h"
#include "shading/CShaderProgram.h"
#include "textures/CSprite.h"
#include "textures/CTextureManager.h"
#include "utils/CClock.h"

CLiveReload::CLiveReload() {}

CLiveReload::~CLiveReload() {}

void CLiveReload::Poll() {
    unsigned int now = CClock::GetTicks();
    if (!watcher.IsDue(now)) {
        return;
    }
    // The lists are taken anew at every look, so sprites and programs created or destroyed
    // since need no registration of their own.
    files.clear();
    size_t spriteCount = g_pTextureManager != nullptr ? g_pTextureManager->GetCount() : 0;
    for (size_t i = 0; i < spriteCount; ++i) {
        files.push_back(g_pTextureManager->GetSprite(i)->GetFileName());
    }
    int programCount = g_pShaderManager != nullptr ? g_pShaderManager->GetProgramCount() : 0;
    for (int i = 0; i < programCount; ++i) {
        files.push_back(g_pShaderManager->GetProgram(i)->GetVertexFile());
        files.push_back(g_pShaderManager->GetProgram(i)->GetFragmentFile());
    }
    files.erase(std::remove(files.begin(), files.end(), std::string()), files.end());
    std::vector<std::string> changed = watcher.Check(files, now);
    if (changed.empty()) {
        return;
    }
    auto hasChanged = [&changed](const std::string& file) {
        return std::find(changed.begin(), changed.end(), file) != changed.end();
    };
    // Quads already sent were meant for the old pictures and programs.
    g_pGraphicsCore->FlushQuads();
    for (size_t i = 0; i < spriteCount; ++i) {
        CSprite* sprite = g_pTextureManager->GetSprite(i);
        if (hasChanged(sprite->GetFileName())) {
            sprite->Reload(std::string(sprite->GetFileName()));
        }
    }
    // A program linked again tells the quad batch itself to look its uniforms up again.
    for (int i = 0; i < programCount; ++i) {
        CShaderProgram* program = g_pShaderManager->GetProgram(i);
        if (hasChanged(program->GetVertexFile()) || hasChanged(program->GetFragmentFile())) {
            program->Reload();
        }
    }
}
