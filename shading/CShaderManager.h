/// @file
/// CShaderManager: the table of GLSL programs; declares g_pShaderManager.
#pragma once

#include <vector>

class CShaderProgram;

/// Owns the table of GLSL programs and loads the ten built-in ones at video set-up. Sprites and
/// fonts draw with program 0, the simple texture shader.
///
/// The engine creates the one instance (g_pShaderManager) at start-up, with an empty table;
/// CEngine::SetVideoMode fills it. That is why sprites and fonts can only be loaded after
/// SetVideoMode: they take program 0 when they load. Programs are looked up by their index in
/// the table (built-in ones 0 to 9 in their fixed order, then those added, in order). The
/// manager deletes every program at engine shutdown.
class CShaderManager {
public:
    /// An empty table. Only engine start-up creates the manager; use g_pShaderManager.
    CShaderManager();
    /// Deletes every program in the table.
    ~CShaderManager();

    /// Loads the ten built-in programs from shaders/ in their fixed order; a program whose files
    /// are missing keeps its index as an entry without a program object.
    ///
    /// CEngine::SetVideoMode calls it; applications do not.
    void LoadBuiltInShaders();
    /// Ownership passes to the manager.
    ///
    /// Appends the program to the table; it is reached with GetProgram (GetProgramCount - 1)
    /// right after.
    void AddProgram(CShaderProgram* program);
    /// Rebuilds every program in the table from its files (CShaderProgram::Reload): the ten
    /// built-in ones and those added. A program whose new sources fail keeps drawing as before,
    /// after the driver's log. Needs the OpenGL context; end any run of engine quads first
    /// (CGraphicsCore::FlushQuads).
    void ReloadShaders();
    /// Null outside the table (and before LoadBuiltInShaders).
    CShaderProgram* GetProgram(int index) const;
    /// The number of entries in the table.
    int GetProgramCount() const { return static_cast<int>(programs.size()); }

private:
    std::vector<CShaderProgram*> programs;
};

/// The shader manager, created by engine start-up and deleted by shutdown; null outside the
/// engine's lifetime.
extern CShaderManager* g_pShaderManager;
