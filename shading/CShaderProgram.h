/// @file
/// CShaderProgram: one GLSL program built from a vertex and a fragment source file.
#pragma once

#include <string>

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
    /// a compile or link error is reported on standard error with the driver's log and leaves
    /// no program either, so that drawing with it goes through the fixed-function pipeline.
    void Load(const char* fragmentFile, const char* vertexFile);
    /// Builds the program again from the files Load was given. On success the new program
    /// takes the old one's place under the same handle, its uniforms of every type set as they
    /// were, and the program that was bound before (this one, another or none) is bound again;
    /// sources that cannot be read, compiled or linked are reported as by Load and leave the
    /// old program working. A program whose files were missing or broken at Load is loaded
    /// now. False when nothing new was built. Needs the OpenGL context; whoever batches
    /// drawing with this program ends the batch first.
    bool Reload();
    /// The files Load was given (empty before Load).
    /// @{
    const std::string& GetVertexFile() const { return vertexPath; }
    const std::string& GetFragmentFile() const { return fragmentPath; }
    /// @}
    /// Makes this program current; everything drawn until Unbind goes through it.
    void Bind();
    /// Back to the fixed-function pipeline, whichever program was bound.
    void Unbind();
    /// How many times any program was bound or unbound through this class. Each bind or unbind
    /// first sends the engine's queued quads, which were meant for the program bound before.
    static unsigned long GetBindCount() { return bindCount; }
    /// The OpenGL program object, 0 without a program.
    unsigned int GetHandle() const { return handle; }
    /// The program's untinted build, 0 without one: where the sources test UNTINTED (`#ifdef`),
    /// Load and Reload build them a second time with it defined. The engine draws a run of
    /// quads through it when every quad of the run is opaque white, which then needs no colour
    /// carried to its pixels. It keeps its uniforms' initial values, so nothing it reads should
    /// be set by the application; a build that fails is reported as by Load, with
    /// " (UNTINTED)" after the file names, and leaves none.
    unsigned int GetUntintedHandle() const { return untintedHandle; }
    /// The program must be bound.
    ///
    /// Sets the int (or sampler) uniform of that name; without a program (handle 0) nothing.
    void SetUniformInt(const char* name, int value);

    /// The whole text file as a NUL-terminated buffer owned by the caller (delete[]); null for
    /// a null path, a missing file, an empty one, or a path that is not a regular file (that
    /// one with a line on standard error naming it).
    static char* ReadSource(const char* path);

private:
    // Reads both files (the vertex file first), with Load's line for each one missing; false,
    // with both texts null, unless both were read.
    static bool ReadSources(const char* fragmentFile, const char* vertexFile, char** fragment,
                            char** vertex);

    char* fragmentSource;
    char* vertexSource;
    unsigned int handle;
    unsigned int untintedHandle;
    unsigned int vertexShader;
    unsigned int fragmentShader;
    std::string vertexPath;
    std::string fragmentPath;
    static unsigned long bindCount;
};
