// Picture regression: reading a rectangle of the frame back, and reading and writing the
// reference PNGs (written with zlib, read as the platform decodes pictures).
#include "support/ReferencePicture.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <SDL.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace orvane_test {

namespace {

std::string ReferencePath(const std::string& name) {
    return std::string(ORVANE_SOURCE_DIR) + "/tests/data/pictures/" + name + ".png";
}

bool UpdatingReferences() {
    const char* value = std::getenv("ORVANE_UPDATE_PICTURES");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

void PutBigEndian(std::string& out, uLong value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, data.size());
    std::string body = type + data;
    out += body;
    PutBigEndian(out, crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size()));
}

// An 8-bit RGB PNG. Each row is stored as the difference to its left neighbour (PNG's "sub"
// filter), which keeps flat and smoothly shaded pictures small.
bool WritePng(const std::string& path, int w, int h, const std::vector<unsigned char>& rgb) {
    std::string raw;
    const size_t rowBytes = static_cast<size_t>(w) * 3;
    for (int row = 0; row < h; ++row) {
        const unsigned char* line = rgb.data() + row * rowBytes;
        raw.push_back(1);
        for (size_t i = 0; i < rowBytes; ++i) {
            raw.push_back(static_cast<char>(line[i] - (i >= 3 ? line[i - 3] : 0)));
        }
    }
    uLongf packedSize = compressBound(raw.size());
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
                  reinterpret_cast<const Bytef*>(raw.data()), raw.size(), 9) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::string header;
    PutBigEndian(header, static_cast<uLong>(w));
    PutBigEndian(header, static_cast<uLong>(h));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no interlace
    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", "");
    std::ofstream file(path, std::ios::binary);
    file.write(png.data(), static_cast<std::streamsize>(png.size()));
    return file.good();
}

// The picture's colours, rows from the top; false when it cannot be read or has another size.
bool ReadPng(const std::string& path, int w, int h, std::vector<unsigned char>& rgb) {
    SDL_Surface* surface = DecodePicture(path);
    if (surface == nullptr) {
        return false;
    }
    bool sizeMatches = surface->w == w && surface->h == h;
    if (sizeMatches) {
        rgb.resize(static_cast<size_t>(w) * h * 3);
        SDL_LockSurface(surface);
        int bpp = surface->format->BytesPerPixel;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                Uint32 value = 0;
                std::memcpy(
                    &value,
                    static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp, bpp);
                unsigned char* out = &rgb[(static_cast<size_t>(y) * w + x) * 3];
                SDL_GetRGB(value, surface->format, &out[0], &out[1], &out[2]);
            }
        }
        SDL_UnlockSurface(surface);
    }
    SDL_FreeSurface(surface);
    return sizeMatches;
}

}  // namespace

ReferencePicture::ReferencePicture(PixelRect area)
    : area_(area), rgb_(static_cast<size_t>(area.w) * area.h * 3) {
    const size_t rowBytes = static_cast<size_t>(area.w) * 3;
    std::vector<unsigned char> bottomUp(rgb_.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(area.x, SDL_GetVideoSurface()->h - area.y - area.h, area.w, area.h, GL_RGB,
                 GL_UNSIGNED_BYTE, bottomUp.data());
    for (int row = 0; row < area.h; ++row) {
        std::memcpy(&rgb_[row * rowBytes], &bottomUp[(area.h - 1 - row) * rowBytes], rowBytes);
    }
}

ReferencePicture& ReferencePicture::Ignore(PixelRect r) {
    int x0 = std::max(r.x, area_.x) - area_.x;
    int x1 = std::min(r.x + r.w, area_.x + area_.w) - area_.x;
    int y0 = std::max(r.y, area_.y) - area_.y;
    int y1 = std::min(r.y + r.h, area_.y + area_.h) - area_.y;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            std::memset(&rgb_[(static_cast<size_t>(y) * area_.w + x) * 3], 0, 3);
        }
    }
    return *this;
}

::testing::AssertionResult ReferencePicture::Matches(const std::string& name, int tolerance) const {
    if (UpdatingReferences()) {
        if (!WritePng(ReferencePath(name), area_.w, area_.h, rgb_)) {
            return ::testing::AssertionFailure() << "cannot write " << ReferencePath(name);
        }
        return ::testing::AssertionSuccess();
    }
    std::vector<unsigned char> expected;
    if (!ReadPng(ReferencePath(name), area_.w, area_.h, expected)) {
        return ::testing::AssertionFailure()
               << ReferencePath(name) << " is missing or not " << area_.w << " x " << area_.h
               << "; ORVANE_UPDATE_PICTURES=1 writes it";
    }
    int worst = 0;
    size_t worstPixel = 0;
    int over = 0;
    for (size_t pixel = 0; pixel < expected.size() / 3; ++pixel) {
        int difference = 0;
        for (size_t c = pixel * 3; c < pixel * 3 + 3; ++c) {
            difference = std::max(difference, std::abs(rgb_[c] - expected[c]));
        }
        over += difference > tolerance ? 1 : 0;
        if (difference > worst) {
            worst = difference;
            worstPixel = pixel;
        }
    }
    if (over == 0) {
        return ::testing::AssertionSuccess();
    }
    std::string failures = std::string(ORVANE_BINARY_DIR) + "/picture-failures";
    std::error_code ignored;
    std::filesystem::create_directory(failures, ignored);
    WritePng(failures + "/" + name + ".png", area_.w, area_.h, rgb_);
    const unsigned char* got = &rgb_[worstPixel * 3];
    const unsigned char* want = &expected[worstPixel * 3];
    return ::testing::AssertionFailure()
           << name << ": " << over << " of " << expected.size() / 3
           << " pixels differ by more than " << tolerance << "; the worst by " << worst
           << " at window pixel (" << area_.x + static_cast<int>(worstPixel % area_.w) << ", "
           << area_.y + static_cast<int>(worstPixel / area_.w) << "): drawn (" << int(got[0])
           << ", " << int(got[1]) << ", " << int(got[2]) << "), reference (" << int(want[0]) << ", "
           << int(want[1]) << ", " << int(want[2]) << "); what was drawn is in " << failures << "/"
           << name << ".png";
}

}  // namespace orvane_test
