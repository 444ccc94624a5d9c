// CShaderProgram: reading, compiling and linking one GLSL program.
#include "shading/CShaderProgram.h"

#include <GL/glew.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "platform/CPlatform.h"
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

}  // namespace

CShaderProgram::CShaderProgram() : fragmentSource(nullptr), vertexSource(nullptr), handle(0) {}

CShaderProgram::~CShaderProgram() {
    // Program and shader objects live as long as the context, which is gone by the time the
    // shader manager is destroyed; only our own memory is released here.
    delete[] fragmentSource;
    delete[] vertexSource;
}

void CShaderProgram::Load(const char* fragmentFile, const char* vertexFile) {
    bool ok = true;
    GLhandleARB vs = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    GLhandleARB fs = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);

    delete[] vertexSource;
    vertexSource = ReadSource(vertexFile);
    if (vertexSource == nullptr) {
        std::cout << "\nCannot Load vertex shader: " << (vertexFile ? vertexFile : "") << std::endl;
        ok = false;
    }
    delete[] fragmentSource;
    fragmentSource = ReadSource(fragmentFile);
    if (fragmentSource == nullptr) {
        std::cout << "\nCannot Load fragment shader: " << (fragmentFile ? fragmentFile : "")
                  << std::endl;
        ok = false;
    }
    if (!ok) {
        return;
    }

    // The files are written for desktop OpenGL; the browser's WebGL gets an adapted text.
    std::string vertexAdapted = CPlatform::AdaptShaderSource(vertexSource);
    std::string fragmentAdapted = CPlatform::AdaptShaderSource(fragmentSource);
    const GLcharARB* vertexText = vertexAdapted.c_str();
    const GLcharARB* fragmentText = fragmentAdapted.c_str();
    glShaderSourceARB(vs, 1, &vertexText, nullptr);
    glShaderSourceARB(fs, 1, &fragmentText, nullptr);
    glCompileShaderARB(vs);
    glCompileShaderARB(fs);
    handle = glCreateProgramObjectARB();
    glAttachObjectARB(handle, vs);
    glAttachObjectARB(handle, fs);
    glLinkProgramARB(handle);

    bool compiled = ReportFailure(vs, GL_OBJECT_COMPILE_STATUS_ARB, "compilation", vertexFile);
    compiled =
        ReportFailure(fs, GL_OBJECT_COMPILE_STATUS_ARB, "compilation", fragmentFile) && compiled;
    // A link after a failed compilation fails as a matter of course; only a link failure of
    // its own is worth a line.
    if (compiled) {
        ReportFailure(handle, GL_OBJECT_LINK_STATUS_ARB, "linking",
                      std::string(vertexFile) + " and " + fragmentFile);
    }
}

unsigned long CShaderProgram::bindCount = 0;

void CShaderProgram::Bind() {
    ++bindCount;
    CPlatform::BindProgram(handle);
}

void CShaderProgram::Unbind() {
    ++bindCount;
    glUseProgramObjectARB(0);
}

void CShaderProgram::SetUniformInt(const char* name, int value) {
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
