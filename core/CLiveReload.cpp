// CLiveReload: from changed files to reloaded sprites and rebuilt programs.
#include "core/CLiveReload.h"

#include <unordered_map>
#include <unordered_set>

#include "graphics/CGraphicsCore.h"
#include "shading/CShaderManager.h"
#include "shading/CShaderProgram.h"
#include "textures/CSprite.h"
#include "textures/CTextureManager.h"
#include "utils/CClock.h"

namespace {

// What one frame of a pass may do: list this many names (a look-up each) and look at this many
// files (a call to the file system each).
const size_t kNamesPerPoll = 1000;
const int kLooksPerPoll = 100;

const std::string kNoFile;

size_t ProgramCount() {
    return g_pShaderManager != nullptr ? static_cast<size_t>(g_pShaderManager->GetProgramCount())
                                       : 0;
}

size_t WaitingCount() {
    return g_pTextureManager != nullptr ? g_pTextureManager->GetWaitingCount() : 0;
}

size_t SpriteCount() {
    return g_pTextureManager != nullptr ? g_pTextureManager->GetCount() : 0;
}

}  // namespace

CLiveReload::CLiveReload() : cursor(0), passing(false) {}

CLiveReload::~CLiveReload() {}

void CLiveReload::Poll() {
    unsigned int now = CClock::GetTicks();
    if (watcher.PassDue(now)) {
        watcher.BeginPass(now);
        cursor = 0;
        passing = true;
    }
    if (passing) {
        ListSome(now);
    }
    std::vector<std::string> changed = watcher.TakeSettled(now);
    if (!changed.empty()) {
        Reload(changed);
    }
}

const std::string& CLiveReload::FileAt(size_t position) const {
    // The lists are read anew at every step, so sprites and programs created or destroyed
    // since need no registration of their own.
    size_t programFiles = 2 * ProgramCount();
    if (position < programFiles) {
        CShaderProgram* program = g_pShaderManager->GetProgram(static_cast<int>(position / 2));
        if (program == nullptr) {
            return kNoFile;
        }
        return position % 2 == 0 ? program->GetVertexFile() : program->GetFragmentFile();
    }
    position -= programFiles;
    if (position < WaitingCount()) {
        return g_pTextureManager->GetWaitingFile(position);
    }
    position -= WaitingCount();
    CSprite* sprite = position < SpriteCount() ? g_pTextureManager->GetSprite(position) : nullptr;
    return sprite != nullptr ? sprite->GetFileName() : kNoFile;
}

void CLiveReload::ListSome(unsigned int now) {
    size_t total = 2 * ProgramCount() + WaitingCount() + SpriteCount();
    size_t names = 0;
    int looks = 0;
    for (; cursor < total && names < kNamesPerPoll && looks < kLooksPerPoll; ++cursor, ++names) {
        const std::string& file = FileAt(cursor);
        if (!file.empty() && watcher.Watch(file, now)) {
            ++looks;
        }
    }
    if (cursor >= total) {
        watcher.EndPass();
        passing = false;
    }
}

void CLiveReload::Reload(const std::vector<std::string>& changed) {
    // Quads already sent were meant for the old pictures and programs.
    g_pGraphicsCore->FlushQuads();
    std::unordered_set<std::string> files(changed.begin(), changed.end());
    // Every sprite of a changed picture, loaded or waiting, gets the one reading of it.
    std::unordered_map<std::string, std::vector<CSprite*>> holders;
    for (size_t i = 0; i < WaitingCount(); ++i) {
        if (files.count(g_pTextureManager->GetWaitingFile(i)) != 0) {
            holders[g_pTextureManager->GetWaitingFile(i)].push_back(
                g_pTextureManager->GetWaitingSprite(i));
        }
    }
    for (size_t i = 0; i < SpriteCount(); ++i) {
        CSprite* sprite = g_pTextureManager->GetSprite(i);
        if (files.count(sprite->GetFileName()) != 0) {
            holders[sprite->GetFileName()].push_back(sprite);
        }
    }
    for (const std::string& file : changed) {
        auto found = holders.find(file);
        if (found != holders.end()) {
            CSprite::ReloadAll(file, found->second);
        }
    }
    // A program linked again tells the quad batch itself to look its uniforms up again.
    for (size_t i = 0; i < ProgramCount(); ++i) {
        CShaderProgram* program = g_pShaderManager->GetProgram(static_cast<int>(i));
        if (program != nullptr && (files.count(program->GetVertexFile()) != 0 ||
                                   files.count(program->GetFragmentFile()) != 0)) {
            program->Reload();
        }
    }
}
