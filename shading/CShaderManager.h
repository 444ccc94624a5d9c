// CShaderManager: owns the table of GLSL programs and loads the ten built-in ones at video
// set-up. Sprites and fonts draw with program 0, the simple texture shader.
#pragma once

#include <vector>

class CShaderProgram;

class CShaderManager {
public:
    CShaderManager();
    ~CShaderManager();

    // Loads the ten built-in programs from shaders/ in their fixed order; a program whose files
    // are missing keeps its index as an entry without a program object.
    void LoadBuiltInShaders();
    // Ownership passes to the manager.
    void AddProgram(CShaderProgram* program);
    // Null outside the table (and before LoadBuiltInShaders).
    CShaderProgram* GetProgram(int index) const;
    int GetProgramCount() const { return static_cast<int>(programs.size()); }

private:
    std::vector<CShaderProgram*> programs;
};

extern CShaderManager* g_pShaderManager;
