// CShaderProgram: one GLSL program built from a vertex and a fragment source file through the
// ARB shader-object extension. Sprites and fonts bind it around their drawing and set its
// uniforms by name.
#pragma once

class CShaderProgram {
public:
    CShaderProgram();
    ~CShaderProgram();

    // Reads both files (the fragment file comes first), compiles and links. A missing or empty
    // file is reported on standard output and leaves the object without a program (handle 0);
    // a compile or link error is reported on standard error with the driver's log.
    void Load(const char* fragmentFile, const char* vertexFile);
    void Bind();
    // Back to the fixed-function pipeline, whichever program was bound.
    void Unbind();
    unsigned int GetHandle() const { return handle; }
    // The program must be bound.
    void SetUniformInt(const char* name, int value);

    // The whole text file as a NUL-terminated buffer owned by the caller (delete[]); null for
    // a null path, a missing file or an empty one.
    static char* ReadSource(const char* path);

private:
    char* fragmentSource;
    char* vertexSource;
    unsigned int handle;
};
