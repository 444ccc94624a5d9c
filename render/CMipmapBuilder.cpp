// CMipmapBuilder: scaling a picture to powers of two and halving it level by level.
#include "render/CMipmapBuilder.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "platform/CPixelFormat.h"

bool CMipmapBuilder::Upload(unsigned int target, int internalFormat, int width, int height,
                            unsigned int format, const void* pixels, const unsigned int* textures,
                            int textureCount) {
    const int components = CPixelFormat::Components(format);
    if (components == 0 || width < 1 || height < 1 || pixels == nullptr) {
        return false;
    }
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    if (alignment < 1) {
        alignment = 1;
    }
    const int rowBytes = (width * components + alignment - 1) / alignment * alignment;
    const unsigned char* source = static_cast<const unsigned char*>(pixels);

    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    int levelWidth = PowerOfTwoSide(width);
    int levelHeight = PowerOfTwoSide(height);
    while (largest > 0 && levelWidth > largest) {
        levelWidth /= 2;
    }
    while (largest > 0 && levelHeight > largest) {
        levelHeight /= 2;
    }

    std::vector<unsigned char> level;
    if (levelWidth == width && levelHeight == height) {
        // Level 0 is the picture itself, its rows packed together like every later level.
        const size_t packedRow = static_cast<size_t>(width) * components;
        level.resize(packedRow * height);
        for (int row = 0; row < height; ++row) {
            std::memcpy(&level[row * packedRow], source + static_cast<size_t>(row) * rowBytes,
                        packedRow);
        }
    } else {
        level = Scale(source, width, height, rowBytes, components, levelWidth, levelHeight);
    }

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int index = 0;; ++index) {
        for (int i = 0; i < (textures != nullptr ? textureCount : 1); ++i) {
            if (textures != nullptr) {
                glBindTexture(target, textures[i]);
            }
            glTexImage2D(target, index, internalFormat, levelWidth, levelHeight, 0, format,
                         GL_UNSIGNED_BYTE, level.data());
        }
        if (levelWidth == 1 && levelHeight == 1) {
            break;
        }
        level = Halve(level, levelWidth, levelHeight, components);
        levelWidth = std::max(1, levelWidth / 2);
        levelHeight = std::max(1, levelHeight / 2);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return true;
}

int CMipmapBuilder::PowerOfTwoSide(int side) {
    int power = 1;
    for (; side > 1; side >>= 1, power <<= 1) {
        if (side == 3) {
            return power * 4;
        }
    }
    return power;
}

std::vector<unsigned char> CMipmapBuilder::Scale(const unsigned char* pixels, int width, int height,
                                                 int rowBytes, int components, int newWidth,
                                                 int newHeight) {
    std::vector<unsigned char> out(static_cast<size_t>(newWidth) * newHeight * components);
    // Single precision throughout, in this order, gives the textures the engine has always had
    // to the last bit.
    const float stepX = static_cast<float>(width) / newWidth;
    const float stepY = static_cast<float>(height) / newHeight;
    const float area = stepX * stepY;
    unsigned char* target = out.data();
    for (int i = 0; i < newHeight; ++i) {
        const float top = stepY * i;
        const float bottom = stepY * (i + 1);
        for (int j = 0; j < newWidth; ++j) {
            const float left = stepX * j;
            const float right = stepX * (j + 1);
            float totals[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            for (int y = static_cast<int>(top); y < bottom; ++y) {
                const float yPart =
                    std::min(bottom, y + 1.0f) - std::max(top, static_cast<float>(y));
                if (yPart <= 0.0f) {
                    continue;
                }
                // Rounding can stretch the last box a hair past the picture; that sliver
                // repeats the edge rather than reading beyond it.
                const unsigned char* row =
                    pixels + static_cast<size_t>(std::min(y, height - 1)) * rowBytes;
                for (int x = static_cast<int>(left); x < right; ++x) {
                    const float xPart =
                        std::min(right, x + 1.0f) - std::max(left, static_cast<float>(x));
                    if (xPart <= 0.0f) {
                        continue;
                    }
                    const unsigned char* pixel = row + std::min(x, width - 1) * components;
                    for (int k = 0; k < components; ++k) {
                        totals[k] += pixel[k] * xPart * yPart;
                    }
                }
            }
            for (int k = 0; k < components; ++k) {
                *target++ = static_cast<unsigned char>(std::min(255.0f, totals[k] / area));
            }
        }
    }
    return out;
}

std::vector<unsigned char> CMipmapBuilder::Halve(const std::vector<unsigned char>& pixels,
                                                 int width, int height, int components) {
    const int newWidth = std::max(1, width / 2);
    const int newHeight = std::max(1, height / 2);
    std::vector<unsigned char> out(static_cast<size_t>(newWidth) * newHeight * components);
    const size_t row = static_cast<size_t>(width) * components;
    unsigned char* target = out.data();
    for (int i = 0; i < newHeight; ++i) {
        for (int j = 0; j < newWidth; ++j) {
            if (width > 1 && height > 1) {
                const unsigned char* a = &pixels[2 * i * row + 2 * j * components];
                const unsigned char* b = a + row;
                for (int k = 0; k < components; ++k) {
                    *target++ = static_cast<unsigned char>(
                        (a[k] + a[k + components] + b[k] + b[k + components] + 2) / 4);
                }
            } else {
                // A line of pixels: neighbours pair up along it, and their mean is truncated.
                const unsigned char* a = &pixels[static_cast<size_t>(2 * (i + j)) * components];
                for (int k = 0; k < components; ++k) {
                    *target++ = static_cast<unsigned char>((a[k] + a[k + components]) / 2);
                }
            }
        }
    }
    return out;
}
