/// @file
/// CShaderProgram: one GLSL program built from a vertex and a fragment source file.
#pragma once

/// One GLSL program built from a vertex and a fragment source file through the ARB
/// shader-object extension. Sprites and fonts bind it around their drawing and set its uniforms
/// by name.
///
/// Load needs the OpenGL context (after CEngine::SetVideoMode). A program handed to the shader
/// manager (CShaderManager::AddProgram) belongs to it from then on; the ten built-in ones are
/// created and owned by the manager. The program object lives as long as the context; the
/// destructor frees only memory.
class CShaderProgram {
public:
    /// No program yet (handle 0).
    CShaderProgram();
    /// Frees the source texts; makes no OpenGL call.
    ~CShaderProgram();

    /// Reads both files (the fragment file comes first), compiles and links. A missing or empty
    /// file is reported on standard output and leaves the object without a program (handle 0);
    /// a compile or link error is reported on standard error with the driver's log.
    void Load(const char* fragmentFile, const char* vertexFile);
    /// Makes this program current; everything drawn until Unbind goes through it.
    void Bind();
    /// Back to the fixed-function pipeline, whichever program was bound.
    void Unbind();
    /// How many times any program was bound or unbound through this class; the engine's quad
    /// drawing compares it to know whether program 0 is still the one it bound.
    static unsigned long GetBindCount() { return bindCount; }
    /// The OpenGL program object, 0 without a program.
    unsigned int GetHandle() const { return handle; }
    /// The program must be bound.
    ///
    /// Sets the int (or sampler) uniform of that name.
    void SetUniformInt(const char* name, int value);

    /// The whole text file as a NUL-terminated buffer owned by the caller (delete[]); null for
    /// a null path, a missing file, an empty one, or a path that is not a regular file (that
    /// one with a line on standard error naming it).
    static char* ReadSource(const char* path);

private:
    char* fragmentSource;
    char* vertexSource;
    unsigned int handle;
    static unsigned long bindCount;
};
