// Shared by the plain OpenGL reference programs: a failure that ends the process, and pictures
// uploaded the way the engine uploads them (PNG sprites, the TGA font picture).
#pragma once

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>
#include <SDL_image.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace bench {

struct Texture {
    GLuint name = 0;
    float width = 0.0f;
    float height = 0.0f;
};

[[noreturn]] inline void Fail(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, message.c_str());
    SDL_Quit();
    std::exit(1);
}

// PNG to texture as sprites get it: REPEAT wrap, LINEAR filters, and the mip chain of the pixel
// memory as RGB or RGBA bytes, here from gluBuild2DMipmaps, which the engine's builder matches.
inline Texture LoadPicture(const char* path) {
    SDL_Surface* surface = IMG_Load(path);
    if (surface == nullptr) {
        Fail(std::string("cannot load ") + path + ": " + SDL_GetError());
    }
    const SDL_PixelFormat* f = surface->format;
    bool rgbBytes = f->BytesPerPixel == 3 && f->Rmask == 0x0000FF && f->Bmask == 0xFF0000;
    bool rgbaBytes = f->BytesPerPixel == 4 && f->Rmask == 0x000000FF && f->Amask == 0xFF000000;
    if (!(rgbBytes || rgbaBytes) || surface->pitch % 4 != 0) {
        Fail(std::string("unexpected pixel layout in ") + path);
    }
    Texture texture;
    texture.width = static_cast<float>(surface->w);
    texture.height = static_cast<float>(surface->h);
    GLenum layout = rgbaBytes ? GL_RGBA : GL_RGB;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glGenTextures(1, &texture.name);
    glBindTexture(GL_TEXTURE_2D, texture.name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, layout, surface->w, surface->h, layout, GL_UNSIGNED_BYTE,
                      surface->pixels);
    SDL_FreeSurface(surface);
    return texture;
}

// The smallest TGA reader that takes the font picture: true-colour, uncompressed or
// run-length encoded, 24 or 32 bits, rows in file order; one level, LINEAR filters.
// Returns a texture with name 0 when the file is missing, so the text is left out.
inline Texture LoadFontPicture(const char* path) {
    Texture texture;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "%s: no font picture %s, drawing no text\n",
                     program_invocation_short_name, path);
        return texture;
    }
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (data.size() < 18 || (data[2] != 2 && data[2] != 10) || (data[16] != 24 && data[16] != 32)) {
        Fail(std::string("unsupported TGA ") + path);
    }
    int width = data[12] | (data[13] << 8);
    int height = data[14] | (data[15] << 8);
    size_t bytes = data[16] / 8;
    size_t count = static_cast<size_t>(width) * height;
    std::vector<unsigned char> pixels(count * bytes);
    size_t in = 18 + data[0];
    size_t done = 0;
    auto store = [&](size_t at) {
        if (at + bytes > data.size()) {
            Fail(std::string("truncated TGA ") + path);
        }
        unsigned char* out = &pixels[done * bytes];
        out[0] = data[at + 2];
        out[1] = data[at + 1];
        out[2] = data[at];
        if (bytes == 4) {
            out[3] = data[at + 3];
        }
        ++done;
    };
    if (data[2] == 2) {
        while (done < count) {
            store(in);
            in += bytes;
        }
    } else {
        while (done < count) {
            if (in >= data.size()) {
                Fail(std::string("truncated TGA ") + path);
            }
            unsigned header = data[in++];
            size_t run = (header & 0x7F) + 1;
            if (done + run > count) {
                Fail(std::string("overlong TGA packet in ") + path);
            }
            for (size_t i = 0; i < run; ++i) {
                store(in);
                if (header < 128) {
                    in += bytes;
                }
            }
            if (header >= 128) {
                in += bytes;
            }
        }
    }
    GLenum layout = bytes == 4 ? GL_RGBA : GL_RGB;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &texture.name);
    glBindTexture(GL_TEXTURE_2D, texture.name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, layout, width, height, 0, layout, GL_UNSIGNED_BYTE,
                 pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    texture.width = static_cast<float>(width);
    texture.height = static_cast<float>(height);
    return texture;
}

}  // namespace bench
