// The mip-chain builder against the library it replaced: the same pictures uploaded both ways
// must give the same textures, level by level, and a picture whose pixels end at the end of
// readable memory must upload without a read past it.
#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "render/CMipmapBuilder.h"
#include "textures/CSprite.h"

using orvane_test::EngineTest;
using orvane_test::StreamCapture;

namespace {

struct Picture {
    std::string name;
    int width;
    int height;
    GLenum format;
    int alignment;
    std::vector<unsigned char> pixels;  // rows padded to the alignment
};

int Components(GLenum format) {
    return format == GL_RGBA ? 4 : 3;
}

int RowBytes(const Picture& p) {
    int row = p.width * Components(p.format);
    return (row + p.alignment - 1) / p.alignment * p.alignment;
}

// Smooth gradients with sharp edges and noise, so that filtering of every kind shows.
Picture Made(int width, int height, GLenum format, int alignment) {
    Picture p{
        std::to_string(width) + "x" + std::to_string(height), width, height, format, alignment, {}};
    // Padding bytes hold a value no pixel near them has, so that reading them shows.
    p.pixels.assign(static_cast<size_t>(RowBytes(p)) * height, 0xAB);
    unsigned int seed = static_cast<unsigned int>(width * 7919 + height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* px = &p.pixels[y * RowBytes(p) + x * Components(format)];
            seed = seed * 1103515245u + 12345u;
            px[0] = static_cast<unsigned char>(x * 255 / std::max(1, width - 1));
            px[1] = static_cast<unsigned char>((x / 3 + y / 2) % 2 == 0 ? 230 : 20);
            px[2] = static_cast<unsigned char>(seed >> 24);
            if (format == GL_RGBA) {
                px[3] = static_cast<unsigned char>(y * 255 / std::max(1, height - 1));
            }
        }
    }
    return p;
}

// A picture file as the sprites receive it: SDL_image's rows, 4-byte aligned.
Picture Loaded(const char* path) {
    SDL_Surface* s = orvane_test::DecodePicture(path);
    EXPECT_NE(nullptr, s) << path;
    if (s == nullptr) {
        return Picture{path, 0, 0, GL_RGB, 4, {}};
    }
    GLenum format = s->format->BytesPerPixel == 4 ? GL_RGBA : GL_RGB;
    Picture p{path, s->w, s->h, format, 4, {}};
    EXPECT_EQ(RowBytes(p), s->pitch) << path;
    const unsigned char* bytes = static_cast<const unsigned char*>(s->pixels);
    p.pixels.assign(bytes, bytes + static_cast<size_t>(s->pitch) * s->h);
    SDL_FreeSurface(s);
    return p;
}

struct Level {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

Level ReadLevel(GLenum format, int level) {
    Level out;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &out.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &out.height);
    out.pixels.resize(static_cast<size_t>(out.width) * out.height * Components(format));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, out.pixels.data());
    return out;
}

int LevelCount() {
    int count = 0;
    GLint width = 1;
    while (width > 0 && count < 20) {
        glGetTexLevelParameteriv(GL_TEXTURE_2D, count, GL_TEXTURE_WIDTH, &width);
        count += width > 0 ? 1 : 0;
    }
    return count;
}

// Uploads the picture into a new texture either way and returns its levels 0 and 1 and the
// number of levels.
std::vector<Level> Upload(const Picture& p, bool withGlu, int* levels) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, p.alignment);
    if (withGlu) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, p.format, p.width, p.height, p.format, GL_UNSIGNED_BYTE,
                          p.pixels.data());
    } else {
        EXPECT_TRUE(CMipmapBuilder::Upload(GL_TEXTURE_2D, p.format, p.width, p.height, p.format,
                                           p.pixels.data()));
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(p.alignment, alignment) << "the caller's unpack alignment comes back";
    std::vector<Level> result = {ReadLevel(p.format, 0), ReadLevel(p.format, 1)};
    *levels = LevelCount();
    glDeleteTextures(1, &texture);
    return result;
}

int LargestDifference(const Level& a, const Level& b) {
    int largest = 0;
    for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) {
        largest = std::max(largest, std::abs(a.pixels[i] - b.pixels[i]));
    }
    return largest;
}

class MipmapBuilderTest : public EngineTest {};

}  // namespace

TEST(MipmapSides, SidesRoundToTheNearerPowerOfTwoByRatio) {
    const int sides[][2] = {{1, 1},       {2, 2},       {3, 4},       {5, 4},       {6, 8},
                            {37, 32},     {47, 32},     {48, 64},     {100, 128},   {768, 1024},
                            {1024, 1024}, {1400, 1024}, {1914, 2048}, {3000, 2048}, {3072, 4096}};
    for (const auto& side : sides) {
        EXPECT_EQ(side[1], CMipmapBuilder::PowerOfTwoSide(side[0])) << side[0];
    }
}

// GLU is left out where it goes wrong itself: when only the width needs scaling it leaves the
// last row black (a picture of one row all black), and when only the height does it ignores
// row padding. The builder scales those like any other picture.
TEST_F(MipmapBuilderTest, BuildsTheSameLevelsAsGlu) {
    std::vector<Picture> pictures = {Loaded("Data/MAP1.png"),
                                     Loaded("Data/MAP2.png"),
                                     Loaded("Data/Logo/orvlogo.png"),
                                     Loaded("Data/MousePointer.png"),
                                     Loaded("Data/GUI/AltPointer.png"),
                                     Loaded("Data/GUI/window.png"),
                                     Made(3, 5, GL_RGB, 4),
                                     Made(3, 5, GL_RGBA, 1),
                                     Made(100, 37, GL_RGB, 1),
                                     Made(100, 37, GL_RGBA, 4),
                                     Made(1, 9, GL_RGBA, 4),
                                     Made(130, 20, GL_RGB, 1)};
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.name + (p.format == GL_RGBA ? " RGBA" : " RGB"));
        int gluLevels = 0;
        int ourLevels = 0;
        std::vector<Level> expected = Upload(p, true, &gluLevels);
        std::vector<Level> built = Upload(p, false, &ourLevels);
        EXPECT_EQ(gluLevels, ourLevels);
        for (int level = 0; level < 2; ++level) {
            SCOPED_TRACE(level);
            ASSERT_EQ(expected[level].width, built[level].width);
            ASSERT_EQ(expected[level].height, built[level].height);
            EXPECT_LE(LargestDifference(expected[level], built[level]), level == 0 ? 1 : 2);
        }
    }
}

// The maps are 1024 x 768 RGB, 2,359,296 bytes: exactly 576 pages. Placed so that the next
// page cannot be read, any read past the last pixel ends the process.
TEST_F(MipmapBuilderTest, ASpriteReadsNothingPastItsPixels) {
    Picture map = Loaded("Data/MAP1.png");
    const size_t page = orvane_test::Pages::Size();
    const size_t bytes = map.pixels.size();
    const size_t pages = (bytes + page - 1) / page;
    orvane_test::Pages mapping(pages + 1);
    ASSERT_NE(nullptr, mapping.Data());
    unsigned char* base = mapping.Data();
    ASSERT_TRUE(mapping.Allow(pages, 1, false));
    unsigned char* pixels = base + pages * page - bytes;
    std::copy(map.pixels.begin(), map.pixels.end(), pixels);
    SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(pixels, map.width, map.height, 24,
                                                    RowBytes(map), 0x0000FF, 0x00FF00, 0xFF0000, 0);
    ASSERT_NE(nullptr, surface);

    StreamCapture quiet;
    CSprite sprite;
    sprite.CreateTexture(surface);  // frees the surface, not the pixels it was given
    ASSERT_NE(0u, sprite.GetTexture());
    int levels = 0;
    Level expected = Upload(map, false, &levels)[0];
    glBindTexture(GL_TEXTURE_2D, sprite.GetTexture());
    EXPECT_EQ(11, LevelCount());
    Level uploaded = ReadLevel(GL_RGB, 0);
    EXPECT_EQ(1024, uploaded.height);
    EXPECT_TRUE(expected.pixels == uploaded.pixels);
}
