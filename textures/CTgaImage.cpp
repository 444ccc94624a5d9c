// CTgaImage: TGA decoding (types 2 and 10) and the texture upload.
#include "textures/CTgaImage.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "render/CRenderState.h"
#include "utils/CFileCheck.h"

namespace {

// File bytes 1 to 11: no colour map, the image type, all-zero colour-map fields and
// a zero origin. Anything else is a picture this reader does not handle.
const unsigned char kUncompressedHeader[11] = {0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const unsigned char kCompressedHeader[11] = {0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// A run packet stands for at most this many pixels.
const std::size_t kLongestRun = 128;

const char* Named(const char* path) {
    return path != nullptr ? path : "";
}

}  // namespace

CTgaImage::CTgaImage()
    : pixels(nullptr),
      texture(0),
      bitsPerPixel(0),
      width(0),
      height(0),
      format(0),
      fileHeader{},
      infoHeader{},
      bytesPerPixel(0),
      imageSize(0),
      recordHeight(0),
      recordWidth(0),
      recordBits(0),
      idLength(0) {}

// The texture name may belong to a context that no longer exists, so only memory is released.
CTgaImage::~CTgaImage() {
    FreePixels();
}

void CTgaImage::FreePixels() {
    std::free(pixels);
    pixels = nullptr;
}

bool CTgaImage::Fail(const char* message, const char* path, std::FILE* file) {
    std::cout << message << Named(path) << std::endl;
    std::fclose(file);
    FreePixels();
    return false;
}

bool CTgaImage::Load(const char* path) {
    std::FILE* file = CFileCheck::Open(path);
    if (file == nullptr) {
        std::cout << "Could not open texture file: " << Named(path) << std::endl;
        return false;
    }
    if (!Decode(file, path)) {
        return false;
    }
    return Upload();
}

bool CTgaImage::Decode(std::FILE* file, const char* path) {
    FreePixels();
    imageSize = 0;
    if (file == nullptr) {
        std::cout << "Could not open texture file: " << Named(path) << std::endl;
        return false;
    }
    // Knowing the size lets a header that announces a huge picture be refused before memory is
    // reserved for it; a stream whose size is unknown is refused like a file that is not there.
    if (CFileCheck::RemainingBytes(file, path) < 0) {
        std::fclose(file);
        std::cout << "Could not open texture file: " << Named(path) << std::endl;
        return false;
    }
    unsigned char comment = 0;
    if (std::fread(&comment, 1, 1, file) != 1) {
        std::fclose(file);
        std::cout << "Failed to read TGAcomment!" << std::endl;
        return false;
    }
    idLength = comment;
    if (std::fread(fileHeader, 1, sizeof(fileHeader), file) != sizeof(fileHeader)) {
        return Fail("Could not read file header: ", path, file);
    }
    if (std::memcmp(fileHeader, kUncompressedHeader, sizeof(fileHeader)) == 0) {
        return LoadUncompressed(path, file);
    }
    if (std::memcmp(fileHeader, kCompressedHeader, sizeof(fileHeader)) == 0) {
        return LoadCompressed(path, file);
    }
    return Fail("TGA file be type 2 or type 10, Invalid Image: ", path, file);
}

bool CTgaImage::ReadImageHeader(const char* path, std::FILE* file) {
    if (std::fread(infoHeader, 1, sizeof(infoHeader), file) != sizeof(infoHeader)) {
        return Fail("Could not read info header: ", path, file);
    }
    width = infoHeader[0] + 256u * infoHeader[1];
    height = infoHeader[2] + 256u * infoHeader[3];
    bitsPerPixel = infoHeader[4];
    recordHeight = height;
    recordWidth = width;
    recordBits = bitsPerPixel;
    if (recordWidth == 0 || recordHeight == 0 || (recordBits != 24 && recordBits != 32)) {
        return Fail("Invalid texture information: ", path, file);
    }
    format = recordBits == 24 ? GL_RGB : GL_RGBA;
    bytesPerPixel = recordBits / 8;
    imageSize = static_cast<std::size_t>(bytesPerPixel) * recordWidth * recordHeight;
    // The image ID field lies between the header and the pixels. A file that ends inside it
    // fails on the first pixel read with that reader's own message.
    for (unsigned int i = 0; i < idLength; ++i) {
        if (std::fgetc(file) == EOF) {
            break;
        }
    }
    return true;
}

bool CTgaImage::LoadUncompressed(const char* path, std::FILE* file) {
    if (!ReadImageHeader(path, file)) {
        return false;
    }
    long long remaining = CFileCheck::RemainingBytes(file, path);
    if (remaining < 0 || static_cast<unsigned long long>(remaining) < imageSize) {
        return Fail("Could not read image data: ", path, file);
    }
    pixels = static_cast<unsigned char*>(std::malloc(imageSize));
    if (pixels == nullptr) {
        return Fail("Could not allocate memory for image: ", path, file);
    }
    if (std::fread(pixels, 1, imageSize, file) != imageSize) {
        return Fail("Could not read image data: ", path, file);
    }
    // Blue, green, red (, alpha) in the file; red first for OpenGL.
    for (std::size_t i = 0; i < imageSize; i += bytesPerPixel) {
        unsigned char blue = pixels[i];
        pixels[i] = pixels[i + 2];
        pixels[i + 2] = blue;
    }
    std::fclose(file);
    return true;
}

bool CTgaImage::LoadCompressed(const char* path, std::FILE* file) {
    if (!ReadImageHeader(path, file)) {
        return false;
    }
    const std::size_t pixelCount = static_cast<std::size_t>(recordWidth) * recordHeight;
    // Every packet costs at least a header and one pixel value and stands for at most 128
    // pixels, so a short file can never fill more than this; a header announcing a picture the
    // file cannot hold then reserves only what the decoder can reach before the data runs out.
    std::size_t capacity = pixelCount;
    long long remaining = CFileCheck::RemainingBytes(file, path);
    if (remaining >= 0) {
        std::size_t reachable =
            static_cast<std::size_t>(remaining) / (1 + bytesPerPixel) * kLongestRun;
        if (reachable < capacity) {
            capacity = reachable;
        }
    }
    std::size_t capacityBytes = capacity * bytesPerPixel;
    pixels = static_cast<unsigned char*>(std::malloc(capacityBytes > 0 ? capacityBytes : 1));
    if (pixels == nullptr) {
        return Fail("Could not allocate memory for image: ", path, file);
    }

    unsigned char value[4] = {0, 0, 0, 0};
    std::size_t currentPixel = 0;
    std::size_t currentByte = 0;
    auto store = [&]() {
        if (currentPixel == pixelCount) {
            return Fail("Too many pixels read: ", path, file);
        }
        if (currentPixel >= capacity) {
            // Unreachable by the bound above; kept so that no input can write past the buffer.
            return Fail("Could not read image data: ", path, file);
        }
        pixels[currentByte] = value[2];
        pixels[currentByte + 1] = value[1];
        pixels[currentByte + 2] = value[0];
        if (bytesPerPixel == 4) {
            pixels[currentByte + 3] = value[3];
        }
        currentByte += bytesPerPixel;
        ++currentPixel;
        return true;
    };

    while (currentPixel < pixelCount) {
        int header = std::fgetc(file);
        if (header == EOF) {
            return Fail("Could not read RLE header: ", path, file);
        }
        if (header < 128) {
            for (int i = 0; i <= header; ++i) {
                if (std::fread(value, 1, bytesPerPixel, file) != bytesPerPixel) {
                    return Fail("Could not read image data: ", path, file);
                }
                if (!store()) {
                    return false;
                }
            }
        } else {
            if (std::fread(value, 1, bytesPerPixel, file) != bytesPerPixel) {
                return Fail("Could not read from file: ", path, file);
            }
            for (int i = 0; i < header - 127; ++i) {
                if (!store()) {
                    return false;
                }
            }
        }
    }
    std::fclose(file);
    return true;
}

bool CTgaImage::Upload() {
    if (pixels == nullptr) {
        return false;
    }
    glGenTextures(1, &texture);
    CRenderState::BindTexture(texture);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // The decoded rows follow each other without gaps; whatever unpacking the caller had set
    // (4-byte alignment by default) comes back afterwards.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), static_cast<GLsizei>(width),
                 static_cast<GLsizei>(height), 0, format, GL_UNSIGNED_BYTE, pixels);
    glPopClientAttrib();
    return true;
}
