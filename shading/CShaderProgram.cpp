// CShaderProgram: reading, compiling and linking one GLSL program.
#include "shading/CShaderProgram.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "platform/CPlatform.h"
#include "render/CQuadBatch.h"
#include "utils/CFileCheck.h"

namespace {

// The largest shader source read: a shader is a few kilobytes, so 1 MiB is generous.
const long long kLargestSource = 1024 * 1024;

// A broken shader file would otherwise only show as wrong pictures: its info log goes to
// standard error as one line, while standard output keeps its fixed log. Returns whether the
// object compiled or linked.
bool ReportFailure(GLhandleARB object, GLenum statusName, const char* what,
                   const std::string& files) {
    GLint status = 0;
    glGetObjectParameterivARB(object, statusName, &status);
    if (status != 0) {
        return true;
    }
    GLint length = 0;
    glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    std::vector<char> log(length > 0 ? length + 1 : 1, '\0');
    if (length > 0) {
        glGetInfoLogARB(object, length, nullptr, log.data());
    }
    std::string text(log.data());
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    text.erase(text.find_last_not_of(' ') + 1);
    std::cerr << "Shader " << what << " failed for " << files << ": " << text << std::endl;
    return false;
}

// Compiles both sources into their shader objects and links them into the program; false
// after the driver's log when a step failed.
bool Build(GLhandleARB program, GLhandleARB vs, GLhandleARB fs, const char* vertexSource,
           const char* fragmentSource, const char* vertexFile, const char* fragmentFile) {
    // The files are written for desktop OpenGL; the browser's WebGL gets an adapted text.
    std::string vertexAdapted = CPlatform::AdaptShaderSource(vertexSource);
    std::string fragmentAdapted = CPlatform::AdaptShaderSource(fragmentSource);
    const GLcharARB* vertexText = vertexAdapted.c_str();
    const GLcharARB* fragmentText = fragmentAdapted.c_str();
    glShaderSourceARB(vs, 1, &vertexText, nullptr);
    glShaderSourceARB(fs, 1, &fragmentText, nullptr);
    glCompileShaderARB(vs);
    glCompileShaderARB(fs);
    glAttachObjectARB(program, vs);
    glAttachObjectARB(program, fs);
    glLinkProgramARB(program);

    bool compiled = ReportFailure(vs, GL_OBJECT_COMPILE_STATUS_ARB, "compilation", vertexFile);
    compiled =
        ReportFailure(fs, GL_OBJECT_COMPILE_STATUS_ARB, "compilation", fragmentFile) && compiled;
    // A link after a failed compilation fails as a matter of course; only a link failure of
    // its own is worth a line.
    return compiled && ReportFailure(program, GL_OBJECT_LINK_STATUS_ARB, "linking",
                                     std::string(vertexFile) + " and " + fragmentFile);
}

// The define that selects a program's untinted build (see GetUntintedHandle).
const char kUntinted[] = "UNTINTED";

// The source with UNTINTED defined, right after its #version line, which must come first.
std::string WithUntintedDefined(const char* source) {
    std::string text(source);
    size_t at = 0;
    size_t version = text.find("#version");
    if (version != std::string::npos) {
        at = text.find('\n', version);
        if (at == std::string::npos) {
            text += '\n';
            at = text.size();
        } else {
            ++at;
        }
    }
    text.insert(at, std::string("#define ") + kUntinted + "\n");
    return text;
}

// The untinted build of sources that test UNTINTED, 0 for sources that do not or that fail to
// build with it (after the driver's log, the files named with " (UNTINTED)").
GLhandleARB BuildUntinted(const char* vertexSource, const char* fragmentSource,
                          const std::string& vertexFile, const std::string& fragmentFile) {
    if (std::strstr(vertexSource, kUntinted) == nullptr &&
        std::strstr(fragmentSource, kUntinted) == nullptr) {
        return 0;
    }
    std::string vertex = WithUntintedDefined(vertexSource);
    std::string fragment = WithUntintedDefined(fragmentSource);
    GLhandleARB vs = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    GLhandleARB fs = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
    GLhandleARB program = glCreateProgramObjectARB();
    const std::string suffix = std::string(" (") + kUntinted + ")";
    bool built = Build(program, vs, fs, vertex.c_str(), fragment.c_str(),
                       (vertexFile + suffix).c_str(), (fragmentFile + suffix).c_str());
    // Attached shaders go with their program.
    glDeleteObjectARB(vs);
    glDeleteObjectARB(fs);
    if (!built) {
        glDeleteObjectARB(program);
        return 0;
    }
    return program;
}

// One active uniform's value, kept across a relink, which sets every uniform back to zero.
struct SavedUniform {
    std::string name;
    GLenum type;
    // Room for the largest value a uniform holds, a 4 x 4 matrix of doubles.
    alignas(GLdouble) unsigned char value[16 * sizeof(GLdouble)] = {};
};

// A type that every platform's OpenGL reads and sets through the shader-object calls: ints
// (booleans and samplers too) or floats, as a vector of 1 to 4 or a square matrix of 2 to 4
// columns. The rest (unsigned ints, other matrices, doubles) are the platform's.
struct PlainType {
    GLenum type;
    bool integer;
    int size;  // components of a vector, columns of a matrix
    bool matrix;
};

const PlainType kPlainTypes[] = {
    {GL_INT, true, 1, false},
    {GL_INT_VEC2_ARB, true, 2, false},
    {GL_INT_VEC3_ARB, true, 3, false},
    {GL_INT_VEC4_ARB, true, 4, false},
    {GL_BOOL_ARB, true, 1, false},
    {GL_BOOL_VEC2_ARB, true, 2, false},
    {GL_BOOL_VEC3_ARB, true, 3, false},
    {GL_BOOL_VEC4_ARB, true, 4, false},
    {GL_FLOAT, false, 1, false},
    {GL_FLOAT_VEC2_ARB, false, 2, false},
    {GL_FLOAT_VEC3_ARB, false, 3, false},
    {GL_FLOAT_VEC4_ARB, false, 4, false},
    {GL_FLOAT_MAT2_ARB, false, 2, true},
    {GL_FLOAT_MAT3_ARB, false, 3, true},
    {GL_FLOAT_MAT4_ARB, false, 4, true},
};

// Every sampler holds the number of a texture unit.
const GLenum kSamplerTypes[] = {
    GL_SAMPLER_1D, GL_SAMPLER_2D, GL_SAMPLER_3D, GL_SAMPLER_CUBE, GL_SAMPLER_1D_SHADOW,
    GL_SAMPLER_2D_SHADOW, GL_SAMPLER_2D_RECT_ARB, GL_SAMPLER_2D_RECT_SHADOW_ARB,
    GL_SAMPLER_1D_ARRAY, GL_SAMPLER_2D_ARRAY, GL_SAMPLER_1D_ARRAY_SHADOW,
    GL_SAMPLER_2D_ARRAY_SHADOW, GL_SAMPLER_CUBE_SHADOW, GL_SAMPLER_BUFFER,
    GL_SAMPLER_2D_MULTISAMPLE, GL_SAMPLER_2D_MULTISAMPLE_ARRAY, GL_SAMPLER_CUBE_MAP_ARRAY,
    GL_SAMPLER_CUBE_MAP_ARRAY_SHADOW, GL_INT_SAMPLER_1D, GL_INT_SAMPLER_2D, GL_INT_SAMPLER_3D,
    GL_INT_SAMPLER_CUBE, GL_INT_SAMPLER_2D_RECT, GL_INT_SAMPLER_1D_ARRAY,
    GL_INT_SAMPLER_2D_ARRAY, GL_INT_SAMPLER_BUFFER, GL_INT_SAMPLER_2D_MULTISAMPLE,
    GL_INT_SAMPLER_2D_MULTISAMPLE_ARRAY, GL_INT_SAMPLER_CUBE_MAP_ARRAY,
    GL_UNSIGNED_INT_SAMPLER_1D, GL_UNSIGNED_INT_SAMPLER_2D, GL_UNSIGNED_INT_SAMPLER_3D,
    GL_UNSIGNED_INT_SAMPLER_CUBE, GL_UNSIGNED_INT_SAMPLER_2D_RECT,
    GL_UNSIGNED_INT_SAMPLER_1D_ARRAY, GL_UNSIGNED_INT_SAMPLER_2D_ARRAY,
    GL_UNSIGNED_INT_SAMPLER_BUFFER, GL_UNSIGNED_INT_SAMPLER_2D_MULTISAMPLE,
    GL_UNSIGNED_INT_SAMPLER_2D_MULTISAMPLE_ARRAY, GL_UNSIGNED_INT_SAMPLER_CUBE_MAP_ARRAY,
};

// The plain type's description, or null for a type the platform reads and sets (or nobody).
const PlainType* FindPlain(GLenum type) {
    static const PlainType kSampler = {GL_INT, true, 1, false};
    for (const PlainType& plain : kPlainTypes) {
        if (plain.type == type) {
            return &plain;
        }
    }
    for (GLenum sampler : kSamplerTypes) {
        if (sampler == type) {
            return &kSampler;
        }
    }
    return nullptr;
}

// Reads one uniform's value; false for a type nobody here knows, which is then left alone.
bool ReadUniform(GLhandleARB program, GLint location, SavedUniform* saved) {
    const PlainType* plain = FindPlain(saved->type);
    if (plain == nullptr) {
        return CPlatform::GetWideUniform(program, location, saved->type, saved->value);
    }
    if (plain->integer) {
        glGetUniformivARB(program, location, reinterpret_cast<GLint*>(saved->value));
    } else {
        glGetUniformfvARB(program, location, reinterpret_cast<GLfloat*>(saved->value));
    }
    return true;
}

// Sets one uniform of the current program to the value read.
void WriteUniform(GLint location, const SavedUniform& saved) {
    const PlainType* plain = FindPlain(saved.type);
    if (plain == nullptr) {
        CPlatform::SetWideUniform(location, saved.type, saved.value);
        return;
    }
    const GLint* i = reinterpret_cast<const GLint*>(saved.value);
    const GLfloat* f = reinterpret_cast<const GLfloat*>(saved.value);
    if (plain->matrix) {
        plain->size == 2   ? glUniformMatrix2fvARB(location, 1, GL_FALSE, f)
        : plain->size == 3 ? glUniformMatrix3fvARB(location, 1, GL_FALSE, f)
                           : glUniformMatrix4fvARB(location, 1, GL_FALSE, f);
        return;
    }
    switch (plain->size) {
        case 1:
            plain->integer ? glUniform1ivARB(location, 1, i) : glUniform1fvARB(location, 1, f);
            break;
        case 2:
            plain->integer ? glUniform2ivARB(location, 1, i) : glUniform2fvARB(location, 1, f);
            break;
        case 3:
            plain->integer ? glUniform3ivARB(location, 1, i) : glUniform3fvARB(location, 1, f);
            break;
        default:
            plain->integer ? glUniform4ivARB(location, 1, i) : glUniform4fvARB(location, 1, f);
            break;
    }
}

// The active uniforms with their values; with @p values false, their names and types only.
std::vector<SavedUniform> SaveUniforms(GLhandleARB program, bool values = true) {
    std::vector<SavedUniform> saved;
    GLint count = 0;
    GLint longest = 0;
    glGetObjectParameterivARB(program, GL_OBJECT_ACTIVE_UNIFORMS_ARB, &count);
    glGetObjectParameterivARB(program, GL_OBJECT_ACTIVE_UNIFORM_MAX_LENGTH_ARB, &longest);
    std::vector<GLcharARB> name(static_cast<size_t>(longest > 0 ? longest : 1) + 1, '\0');
    for (GLint i = 0; i < count; ++i) {
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniformARB(program, static_cast<GLuint>(i), static_cast<GLsizei>(name.size()),
                              nullptr, &size, &type, name.data());
        // An array reports its first element ("name[0]"); each element is kept by its own name.
        std::string base(name.data());
        if (base.size() > 3 && base.compare(base.size() - 3, 3, "[0]") == 0) {
            base.erase(base.size() - 3);
        }
        if (base.compare(0, 3, "gl_") == 0) {
            continue;
        }
        for (GLint element = 0; element < size; ++element) {
            SavedUniform value;
            value.name = size > 1 ? base + "[" + std::to_string(element) + "]" : base;
            value.type = type;
            GLint location = glGetUniformLocationARB(program, value.name.c_str());
            if (location >= 0 && (!values || ReadUniform(program, location, &value))) {
                saved.push_back(value);
            }
        }
    }
    return saved;
}

// The program must be current. Uniforms the new program lacks, or has with another type,
// are left alone.
void RestoreUniforms(GLhandleARB program, const std::vector<SavedUniform>& saved) {
    std::vector<SavedUniform> now = SaveUniforms(program, false);
    for (const SavedUniform& value : saved) {
        bool sameType = false;
        for (const SavedUniform& present : now) {
            sameType = sameType || (present.name == value.name && present.type == value.type);
        }
        GLint location = glGetUniformLocationARB(program, value.name.c_str());
        if (sameType && location >= 0) {
            WriteUniform(location, value);
        }
    }
}

}  // namespace

CShaderProgram::CShaderProgram()
    : fragmentSource(nullptr),
      vertexSource(nullptr),
      handle(0),
      untintedHandle(0),
      vertexShader(0),
      fragmentShader(0) {}

CShaderProgram::~CShaderProgram() {
    // Program and shader objects live as long as the context, which is gone by the time the
    // shader manager is destroyed; only our own memory is released here.
    delete[] fragmentSource;
    delete[] vertexSource;
}

bool CShaderProgram::ReadSources(const char* fragmentFile, const char* vertexFile, char** fragment,
                                 char** vertex) {
    char* vertexText = ReadSource(vertexFile);
    if (vertexText == nullptr) {
        std::cout << "\nCannot Load vertex shader: " << (vertexFile ? vertexFile : "") << std::endl;
    }
    char* fragmentText = ReadSource(fragmentFile);
    if (fragmentText == nullptr) {
        std::cout << "\nCannot Load fragment shader: " << (fragmentFile ? fragmentFile : "")
                  << std::endl;
    }
    if (vertexText == nullptr || fragmentText == nullptr) {
        delete[] vertexText;
        delete[] fragmentText;
        vertexText = nullptr;
        fragmentText = nullptr;
    }
    *vertex = vertexText;
    *fragment = fragmentText;
    return vertexText != nullptr;
}

void CShaderProgram::Load(const char* fragmentFile, const char* vertexFile) {
    vertexPath = vertexFile ? vertexFile : "";
    fragmentPath = fragmentFile ? fragmentFile : "";
    delete[] vertexSource;
    delete[] fragmentSource;
    if (!ReadSources(fragmentFile, vertexFile, &fragmentSource, &vertexSource)) {
        return;
    }
    vertexShader = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    fragmentShader = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
    handle = glCreateProgramObjectARB();
    untintedHandle = 0;
    if (Build(handle, vertexShader, fragmentShader, vertexSource, fragmentSource, vertexFile,
              fragmentFile)) {
        untintedHandle = BuildUntinted(vertexSource, fragmentSource, vertexPath, fragmentPath);
        return;
    }
    // A program that did not link raises an error wherever it is bound or set: it counts as
    // none (drawing goes through the fixed-function pipeline) until a save builds it.
    glDeleteObjectARB(vertexShader);
    glDeleteObjectARB(fragmentShader);
    glDeleteObjectARB(handle);
    vertexShader = 0;
    fragmentShader = 0;
    handle = 0;
}

bool CShaderProgram::Reload() {
    if (vertexPath.empty() || fragmentPath.empty()) {
        return false;
    }
    if (handle == 0) {
        Load(fragmentPath.c_str(), vertexPath.c_str());
        return handle != 0;
    }
    char* vertex = nullptr;
    char* fragment = nullptr;
    if (!ReadSources(fragmentPath.c_str(), vertexPath.c_str(), &fragment, &vertex)) {
        return false;
    }
    // The new sources are tried in a program of their own first, so a mistake in them leaves
    // the old program drawing.
    GLhandleARB vs = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    GLhandleARB fs = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
    GLhandleARB trial = glCreateProgramObjectARB();
    bool built = Build(trial, vs, fs, vertex, fragment, vertexPath.c_str(), fragmentPath.c_str());
    glDetachObjectARB(trial, vs);
    glDetachObjectARB(trial, fs);
    glDeleteObjectARB(trial);
    if (!built) {
        glDeleteObjectARB(vs);
        glDeleteObjectARB(fs);
        delete[] vertex;
        delete[] fragment;
        return false;
    }
    // Relinked under the same handle, so whoever looked the handle up keeps a working one.
    std::vector<SavedUniform> uniforms = SaveUniforms(handle);
    // Queued quads still use the old program; the batch looks the uniforms up again afterwards.
    CQuadBatch::ProgramRelinked(handle);
    glDetachObjectARB(handle, vertexShader);
    glDetachObjectARB(handle, fragmentShader);
    glDeleteObjectARB(vertexShader);
    glDeleteObjectARB(fragmentShader);
    vertexShader = vs;
    fragmentShader = fs;
    glAttachObjectARB(handle, vs);
    glAttachObjectARB(handle, fs);
    glLinkProgramARB(handle);
    // The uniforms are set through a binding of the program's own; the one the application
    // made (or none) is put back afterwards.
    GLint bound = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &bound);
    Bind();
    RestoreUniforms(handle, uniforms);
    // The untinted build is made afresh: the batch looks its handle up with every quad.
    const unsigned int oldUntinted = untintedHandle;
    if (untintedHandle != 0) {
        CQuadBatch::ProgramRelinked(untintedHandle);
        glDeleteObjectARB(untintedHandle);
    }
    untintedHandle = BuildUntinted(vertex, fragment, vertexPath, fragmentPath);
    CQuadBatch::ForgetProgram();
    ++bindCount;
    const unsigned int previous = static_cast<unsigned int>(bound);
    CPlatform::BindProgram(previous != 0 && previous == oldUntinted ? untintedHandle : previous);
    delete[] vertexSource;
    delete[] fragmentSource;
    vertexSource = vertex;
    fragmentSource = fragment;
    return true;
}

unsigned long CShaderProgram::bindCount = 0;

void CShaderProgram::Bind() {
    // Queued engine quads were meant for the program bound before this one.
    CQuadBatch::ForgetProgram();
    ++bindCount;
    CPlatform::BindProgram(handle);
}

void CShaderProgram::Unbind() {
    CQuadBatch::ForgetProgram();
    ++bindCount;
    glUseProgramObjectARB(0);
}

void CShaderProgram::SetUniformInt(const char* name, int value) {
    // Without a program (missing or broken files) there is nothing to set.
    if (handle == 0) {
        return;
    }
    glUniform1iARB(glGetUniformLocationARB(handle, name), value);
}

char* CShaderProgram::ReadSource(const char* path) {
    std::FILE* file = CFileCheck::Open(path);
    if (file == nullptr) {
        return nullptr;
    }
    char* buffer = nullptr;
    long long size = CFileCheck::RemainingBytes(file, path);
    if (size > kLargestSource) {
        // Anything this large is no shader, and reading it whole could take all the memory.
        CFileCheck::Report(path, "larger than 1 MiB, too large for a shader source");
    } else if (size >= 1) {
        buffer = new char[static_cast<size_t>(size) + 1];
        size_t count = std::fread(buffer, 1, static_cast<size_t>(size), file);
        buffer[count] = '\0';
    }
    std::fclose(file);
    return buffer;
}
