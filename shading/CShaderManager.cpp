// CShaderManager: the built-in program table.
#include "shading/CShaderManager.h"

#include <iostream>

#include "shading/CShaderProgram.h"

CShaderManager* g_pShaderManager = nullptr;

namespace {

struct BuiltInShader {
    const char* logLine;
    const char* vertexFile;
    const char* fragmentFile;
};

const BuiltInShader kBuiltInShaders[] = {
    {"Loading simple texture shader...", "shaders/simpleTexture.vert",
     "shaders/simpleTexture.frag"},
    {"Loading simple color shader...", "shaders/color.vert", "shaders/color.frag"},
    {"Loading heightmap texture shader...", "shaders/hfield.vert", "shaders/hfield.frag"},
    {"Loading Directional Per Pixel Diffuse lightning shader...", "shaders/dirPerPixel.vert",
     "shaders/dirPerPixel.frag"},
    {"Loading Directional Per Vertex Diffuse lightning shader...", "shaders/dirPerVertex.vert",
     "shaders/dirPerVertex.frag"},
    {"Loading Point Per Pixel lightning shader...", "shaders/pointlight.vert",
     "shaders/pointlight.frag"},
    {"Loading Spot Per Pixel lightning shader...", "shaders/spotlight.vert",
     "shaders/spotlight.frag"},
    {"Loading Toon shader...", "shaders/toonf2.vert", "shaders/toonf2.frag"},
    {"Loading vertex diffuse light with texture shader...", "shaders/dirPerVertexTEX.vert",
     "shaders/dirPerVertexTEX.frag"},
    {"Loading pixel diffuse light with texture shader...", "shaders/dirPerPixelTEX.vert",
     "shaders/dirPerPixelTEX.frag"},
};

}  // namespace

CShaderManager::CShaderManager() {}

CShaderManager::~CShaderManager() {
    for (CShaderProgram* program : programs) {
        delete program;
    }
    programs.clear();
}

void CShaderManager::LoadBuiltInShaders() {
    std::cout << std::endl
              << "-------------========= Loading built in shaders ==========------------\n"
              << std::endl;
    for (const BuiltInShader& row : kBuiltInShaders) {
        std::cout << row.logLine << std::endl;
        CShaderProgram* program = new CShaderProgram();
        program->Load(row.fragmentFile, row.vertexFile);
        AddProgram(program);
    }
    std::cout << std::endl;
}

void CShaderManager::AddProgram(CShaderProgram* program) {
    programs.push_back(program);
}

void CShaderManager::ReloadShaders() {
    for (CShaderProgram* program : programs) {
        program->Reload();
    }
}

CShaderProgram* CShaderManager::GetProgram(int index) const {
    if (index < 0 || index >= static_cast<int>(programs.size())) {
        return nullptr;
    }
    return programs[index];
}
