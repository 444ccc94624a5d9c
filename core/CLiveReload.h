/// @file
/// CLiveReload: puts pictures and shaders edited on disk into the running program.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/CFileWatcher.h"

/// Watches the files of every registered sprite, of every sprite waiting for a file that failed
/// to load, and of every program in the shader manager's table. A changed picture is read once
/// and given to all the sprites made from it (CSprite::ReloadAll), which loads the waiting ones;
/// a program is rebuilt once one of its files has changed (CShaderProgram::Reload). A broken
/// file leaves the picture or program as it was, after the loader's line; the next change of
/// that file is tried again.
///
/// Each frame lists at most a few hundred file names and looks at most at a hundred files, so
/// with thousands of files a pass over them takes several frames, and a frame costs the same
/// whatever their number (see CFileWatcher).
///
/// The engine owns the one instance while watching is on (CEngine::SetWatching) and calls Poll
/// from its frame step, while the OpenGL context lives.
class CLiveReload {
public:
    CLiveReload();
    ~CLiveReload();

    /// Goes on with the pass over the files and reloads what changed and settled.
    void Poll();

private:
    // The file at that position of the pass: the programs' files, the waiting sprites', then
    // the registered sprites'. Empty where there is none.
    const std::string& FileAt(size_t position) const;
    // Lists the next share of the pass's files.
    void ListSome(unsigned int now);
    // Reloads the sprites and programs of the files.
    void Reload(const std::vector<std::string>& changed);

    CFileWatcher watcher;
    // Where the pass goes on, while one is under way.
    size_t cursor;
    bool passing;
};
