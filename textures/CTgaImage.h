// CTgaImage: reads a true-colour TGA picture (type 2 uncompressed or type 10 run-length encoded,
// 24 or 32 bits) into a red-first pixel buffer and uploads it as one OpenGL texture. Decoding
// makes no OpenGL call, so it runs without a context (the tests and the fuzz target use that).
#pragma once

#include <cstddef>
#include <cstdio>

class CTgaImage {
public:
    CTgaImage();
    // Frees the pixels; the texture is deleted only while the context is alive.
    ~CTgaImage();

    CTgaImage(const CTgaImage&) = delete;
    CTgaImage& operator=(const CTgaImage&) = delete;

    // Decodes the file and uploads it; true when the texture was created. A failure writes one
    // line on standard output naming the file.
    bool Load(const char* path);
    // Decodes an open file from its first byte into the pixel buffer and closes it, whatever
    // the outcome. The path only names the file in messages. No OpenGL call.
    bool Decode(std::FILE* file, const char* path);
    // Uploads the decoded pixels as a new texture, left bound to GL_TEXTURE_2D; false when
    // nothing is decoded. Needs a current context.
    bool Upload();

    // Rows in file order (bottom row first for the usual TGA origin), red first.
    const unsigned char* GetPixels() const { return pixels; }
    std::size_t GetImageSize() const { return imageSize; }
    unsigned int GetTexture() const { return texture; }
    unsigned int GetWidth() const { return width; }
    unsigned int GetHeight() const { return height; }
    unsigned int GetBitsPerPixel() const { return bitsPerPixel; }
    unsigned int GetFormat() const { return format; }

private:
    bool LoadUncompressed(const char* path, std::FILE* file);
    bool LoadCompressed(const char* path, std::FILE* file);
    bool ReadImageHeader(const char* path, std::FILE* file);
    bool Fail(const char* message, const char* path, std::FILE* file);
    void FreePixels();

    unsigned char* pixels;
    unsigned int texture;
    unsigned int bitsPerPixel;
    unsigned int width;
    unsigned int height;
    unsigned int format;
    unsigned char fileHeader[11];
    unsigned char infoHeader[6];
    unsigned int bytesPerPixel;
    // 4 x 65535 x 65535 does not fit 32 bits.
    std::size_t imageSize;
    unsigned int recordHeight;
    unsigned int recordWidth;
    unsigned int recordBits;
    unsigned int idLength;
};
