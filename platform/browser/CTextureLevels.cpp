// CTextureLevels: mip levels held back from WebGL until a filter of their texture reads them.
#include "platform/browser/CTextureLevels.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <map>
#include <utility>
#include <vector>

#include "platform/CPixelFormat.h"

extern "C" {
void emscripten_glActiveTexture(GLenum unit);
void emscripten_glBindTexture(GLenum target, GLuint texture);
void emscripten_glTexParameteri(GLenum target, GLenum name, GLint value);
void emscripten_glTexParameterf(GLenum target, GLenum name, GLfloat value);
void emscripten_glTexParameteriv(GLenum target, GLenum name, const GLint* values);
void emscripten_glTexParameterfv(GLenum target, GLenum name, const GLfloat* values);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                             GLsizei height, GLint border, GLenum format, GLenum type,
                             const void* pixels);
void emscripten_glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width,
                                GLsizei height, GLenum format, GLenum type, const void* pixels);
void emscripten_glGenerateMipmap(GLenum target);
void emscripten_glDeleteTextures(GLsizei count, const GLuint* textures);
void emscripten_glGetIntegerv(GLenum name, GLint* values);
void emscripten_glPixelStorei(GLenum name, GLint value);
}

namespace {

struct Level {
    GLint level;
    GLint internalFormat;
    GLsizei width;
    GLsizei height;
    GLenum format;
    GLint alignment;
    std::vector<unsigned char> pixels;
};

struct Texture {
    // OpenGL's default filter takes mipmaps.
    GLint minFilter = GL_NEAREST_MIPMAP_LINEAR;
    std::vector<Level> held;
};

GLuint g_bound[CTextureLevels::kTextureUnits] = {};
int g_unit = 0;
std::map<GLuint, Texture> g_textures;

bool TakesMipmaps(GLint filter) {
    return filter != GL_NEAREST && filter != GL_LINEAR;
}

Texture& Bound() {
    return g_textures[g_bound[g_unit]];
}

// Sends what the bound texture holds, each level with the row alignment it came with.
void SendHeld(Texture& texture) {
    if (texture.held.empty()) {
        return;
    }
    GLint alignment = 4;
    emscripten_glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    for (const Level& level : texture.held) {
        emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, level.alignment);
        emscripten_glTexImage2D(GL_TEXTURE_2D, level.level, level.internalFormat, level.width,
                                level.height, 0, level.format, GL_UNSIGNED_BYTE,
                                level.pixels.data());
    }
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    texture.held.clear();
}

void SetMinFilter(GLenum target, GLint filter) {
    if (target != GL_TEXTURE_2D) {
        return;
    }
    Texture& texture = Bound();
    texture.minFilter = filter;
    if (TakesMipmaps(filter)) {
        SendHeld(texture);
    }
}

}  // namespace

int CTextureLevels::ActiveUnit() {
    return g_unit;
}

extern "C" {

void glActiveTexture(GLenum unit) {
    int index = static_cast<int>(unit) - GL_TEXTURE0;
    if (index >= 0 && index < CTextureLevels::kTextureUnits) {
        g_unit = index;
    }
    emscripten_glActiveTexture(unit);
}

void glActiveTextureARB(GLenum unit) {
    glActiveTexture(unit);
}

void glBindTexture(GLenum target, GLuint texture) {
    if (target == GL_TEXTURE_2D) {
        g_bound[g_unit] = texture;
    }
    emscripten_glBindTexture(target, texture);
}

void glTexParameteri(GLenum target, GLenum name, GLint value) {
    if (name == GL_TEXTURE_MIN_FILTER) {
        SetMinFilter(target, value);
    }
    emscripten_glTexParameteri(target, name, value);
}

void glTexParameterf(GLenum target, GLenum name, GLfloat value) {
    if (name == GL_TEXTURE_MIN_FILTER) {
        SetMinFilter(target, static_cast<GLint>(value));
    }
    emscripten_glTexParameterf(target, name, value);
}

void glTexParameteriv(GLenum target, GLenum name, const GLint* values) {
    if (name == GL_TEXTURE_MIN_FILTER) {
        SetMinFilter(target, values[0]);
    }
    emscripten_glTexParameteriv(target, name, values);
}

void glTexParameterfv(GLenum target, GLenum name, const GLfloat* values) {
    if (name == GL_TEXTURE_MIN_FILTER) {
        SetMinFilter(target, static_cast<GLint>(values[0]));
    }
    emscripten_glTexParameterfv(target, name, values);
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const void* pixels) {
    if (internalFormat >= 1 && internalFormat <= 4) {
        internalFormat = static_cast<GLint>(format);
    }
    if (target == GL_TEXTURE_2D) {
        Texture& texture = Bound();
        if (level == 0) {
            // A new picture: what was held belongs to the old one.
            texture.held.clear();
        } else {
            std::vector<Level>& held = texture.held;
            for (auto it = held.begin(); it != held.end(); ++it) {
                if (it->level == level) {
                    held.erase(it);
                    break;
                }
            }
            const int components = CPixelFormat::Components(format);
            if (!TakesMipmaps(texture.minFilter) && type == GL_UNSIGNED_BYTE && border == 0 &&
                pixels != nullptr && components > 0 && width > 0 && height > 0) {
                GLint alignment = 4;
                emscripten_glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
                // OpenGL reads the padding between rows, but not after the last one.
                const size_t rowBytes = static_cast<size_t>(width) * components;
                const size_t stride = (rowBytes + alignment - 1) / alignment * alignment;
                const size_t bytes = stride * (height - 1) + rowBytes;
                const unsigned char* data = static_cast<const unsigned char*>(pixels);
                held.push_back(Level{level, internalFormat, width, height, format, alignment,
                                     std::vector<unsigned char>(data, data + bytes)});
                return;
            }
        }
    }
    emscripten_glTexImage2D(target, level, internalFormat, width, height, border, format, type,
                            pixels);
}

void glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height,
                     GLenum format, GLenum type, const void* pixels) {
    // A level WebGL has not been given cannot be updated in part.
    if (target == GL_TEXTURE_2D && level > 0) {
        SendHeld(Bound());
    }
    emscripten_glTexSubImage2D(target, level, x, y, width, height, format, type, pixels);
}

void glGenerateMipmap(GLenum target) {
    if (target == GL_TEXTURE_2D) {
        Bound().held.clear();
    }
    emscripten_glGenerateMipmap(target);
}

void glDeleteTextures(GLsizei count, const GLuint* textures) {
    for (GLsizei i = 0; i < count; ++i) {
        // Name 0 stands for the default texture, which cannot be deleted.
        if (textures[i] != 0) {
            g_textures.erase(textures[i]);
            for (GLuint& bound : g_bound) {
                if (bound == textures[i]) {
                    bound = 0;
                }
            }
        }
    }
    emscripten_glDeleteTextures(count, textures);
}

}  // extern "C"
