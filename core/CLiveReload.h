/// @file
/// CLiveReload: puts pictures and shaders edited on disk into the running program.
#pragma once

#include <string>
#include <vector>

#include "platform/CFileWatcher.h"

/// Watches the files of every registered sprite and of every program in the shader manager's
/// table, and reloads a sprite or rebuilds a program once its file has changed and settled
/// (CSprite::Reload, CShaderProgram::Reload). A broken file leaves the picture or program as it
/// was, after the loader's line; the next save of that file is tried again.
///
/// The engine owns the one instance while watching is on (CEngine::SetWatching) and calls Poll
/// from its frame step, while the OpenGL context lives.
class CLiveReload {
public:
    CLiveReload();
    ~CLiveReload();

    /// About twice a second: looks at the files and reloads what changed. Between looks it
    /// reads the clock and returns.
    void Poll();

private:
    CFileWatcher watcher;
    std::vector<std::string> files;
};
