/// @file
/// CTgaImage: the TGA picture reader behind the bitmap font.
#pragma once

#include <cstddef>
#include <cstdio>

/// Reads a true-colour TGA picture (type 2 uncompressed or type 10 run-length encoded, 24 or
/// 32 bits) into a red-first pixel buffer and uploads it as one OpenGL texture. Decoding makes
/// no OpenGL call, so it runs without a context (the tests and the fuzz target use that).
///
/// Each font holds one to read its glyph picture. The image owns its pixel buffer; the texture
/// lives while the context does. Upload (and so Load) needs the context, after
/// CEngine::SetVideoMode.
class CTgaImage {
public:
    /// Empty: no pixels, no texture.
    CTgaImage();
    /// Frees the pixels only; the texture lives as long as the context.
    ~CTgaImage();

    /// Not copyable: the image owns its pixel buffer.
    /// @{
    CTgaImage(const CTgaImage&) = delete;
    CTgaImage& operator=(const CTgaImage&) = delete;
    /// @}

    /// Decodes the file and uploads it; true when the texture was created. A failure writes one
    /// line on standard output naming the file. A path that is not a regular file fails like a
    /// missing one, with one more line on standard error.
    bool Load(const char* path);
    /// Decodes an open file from its first byte into the pixel buffer and closes it, whatever
    /// the outcome. The path only names the file in messages. No OpenGL call. A stream whose
    /// size cannot be established (a pipe) fails like a missing file, with one more line on
    /// standard error.
    ///
    /// True when the picture was decoded; the image takes over the file.
    bool Decode(std::FILE* file, const char* path);
    /// Uploads the decoded pixels as a new texture, left bound to GL_TEXTURE_2D; false when
    /// nothing is decoded. Needs a current context.
    bool Upload();

    /// Rows in file order (bottom row first for the usual TGA origin), red first.
    ///
    /// The buffer stays the image's; null until a decode succeeds, and again after one fails.
    const unsigned char* GetPixels() const { return pixels; }
    /// What was decoded: the size of the pixel buffer in bytes, the texture (0 before Upload),
    /// the size in pixels, 24 or 32 bits per pixel, and the OpenGL pixel format (GL_RGB or
    /// GL_RGBA).
    /// @{
    std::size_t GetImageSize() const { return imageSize; }
    unsigned int GetTexture() const { return texture; }
    unsigned int GetWidth() const { return width; }
    unsigned int GetHeight() const { return height; }
    unsigned int GetBitsPerPixel() const { return bitsPerPixel; }
    unsigned int GetFormat() const { return format; }
    /// @}

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
