// CUtils: frame timing, debug shapes and the BMP loader.
#include "utils/CUtils.h"

#include <GL/glew.h>
#include <SDL.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <utility>

#include "platform/CPlatform.h"
#include "render/CDebugShapes.h"
#include "render/CMipmapBuilder.h"
#include "render/CRenderState.h"
#include "utils/CFileCheck.h"
#include "utils/CClock.h"

CUtils* g_pUtils = nullptr;

namespace {

// Timing state shared by every call in the process, as the frame rate spans the whole run.
float s_previousCallTime = 0.0f;
float s_frameCounter = 0.0f;
float s_lastRateTime = 0.0f;

unsigned int LittleEndian(const unsigned char* bytes, int count) {
    unsigned int value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

// SDL 1.2's decoder takes the header's size on trust: it reads fields past the end of a short
// file, keeps a row's length in 16 bits and sizes its pixel buffer with an int product that
// overflows into a request for about 2^64 bytes. What it would decode wrongly or cannot hold is
// refused here, before SDL reads the file. Empty when SDL may have the file (a file that is no
// BMP at all is left to SDL's own message); the file is then back at its start.
std::string BmpProblem(std::FILE* in, const char* file) {
    long long fileSize = CFileCheck::RemainingBytes(in, file);
    unsigned char header[54] = {};
    size_t got = std::fread(header, 1, sizeof(header), in);
    std::rewind(in);
    if (fileSize < 0) {
        return "its size cannot be established";
    }
    if (got < 2 || header[0] != 'B' || header[1] != 'M') {
        return "";
    }
    // The OS/2 header (12 bytes) has 16-bit sizes; the Windows ones 32-bit, height signed.
    const bool os2 = got >= 18 && LittleEndian(header + 14, 4) == 12;
    const size_t headerEnd = os2 ? 26 : 54;
    if (got < (os2 ? 26u : 30u)) {
        return "the header is cut short";
    }
    long long width = os2 ? static_cast<long long>(LittleEndian(header + 18, 2))
                          : static_cast<int>(LittleEndian(header + 18, 4));
    long long height = os2 ? static_cast<long long>(LittleEndian(header + 20, 2))
                           : static_cast<int>(LittleEndian(header + 22, 4));
    const int bits = static_cast<int>(LittleEndian(header + (os2 ? 24 : 28), 2));
    const unsigned int compression = os2 ? 0 : LittleEndian(header + 30, 4);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 15 && bits != 16 && bits != 24 &&
        bits != 32) {
        return "unsupported pixel layout";
    }
    height = height < 0 ? -height : height;
    if (width <= 0 || height == 0 || height > INT_MAX) {
        return "impossible size " + std::to_string(width) + " x " + std::to_string(height);
    }
    // The surface SDL decodes into: 1 and 4 bits widen to bytes, rows pad to 4 bytes.
    const long long pitch = (width * (bits <= 8 ? 1 : (bits + 7) / 8) + 3) / 4 * 4;
    const std::string size = std::to_string(width) + " x " + std::to_string(height) +
                             " pixels of " + std::to_string(bits) + " bits";
    if (pitch > 65535 || pitch * height > INT_MAX) {
        return size + " are more than SDL can hold";
    }
    // Uncompressed rows are padded to 4 bytes in the file and start where the file header
    // says (or right after the header when it does not say).
    const long long offset = LittleEndian(header + 10, 4);
    const long long start = offset != 0 ? offset : 14 + (os2 ? 12 : 40);
    const bool packed = compression == 0 || compression == 3;
    if (packed && (width * bits + 31) / 32 * 4 * height > fileSize - start) {
        return "the file is too short for " + size;
    }
    if (got < headerEnd) {
        return "the header is cut short";
    }
    return "";
}

}  // namespace

CUtils::CUtils() : m_fps(0), m_frameTime(0.0f), m_fpsText{} {}

void CUtils::SetCaptionSource(std::function<std::string()> source) {
    m_captionSource = std::move(source);
}

CUtils::~CUtils() {}

void CUtils::UpdateFPS() {
    float now = static_cast<float>(CClock::GetTicks()) * 0.001f;
    m_frameTime = now - s_previousCallTime;
    s_previousCallTime = now;
    s_frameCounter += 1.0f;
    if (now - s_lastRateTime > 1.0f) {
        s_lastRateTime = now;
        m_fps = static_cast<int>(s_frameCounter);
        // Bounded: a rate of 100000 or more is cut rather than written past the buffer.
        std::snprintf(m_fpsText, sizeof(m_fpsText), " Current FPS: %d", m_fps);
        std::string caption = m_captionSource ? m_captionSource() : std::string();
        caption += m_fpsText;
        SDL_WM_SetCaption(caption.c_str(), nullptr);
        s_frameCounter = 0.0f;
    }
}

void CUtils::DrawCube(float x, float y, float z) {
    CDebugShapes::Cube(x, y, z);
}

void CUtils::DrawGrid(float x, float y, float z) {
    CDebugShapes::Grid(x, y, z);
}

void CUtils::DrawQuad(float x, float y, float z) {
    CDebugShapes::Quad(x, y, z);
}

void CUtils::DrawAxes() {
    CDebugShapes::Axes();
}

unsigned int CUtils::LoadTextureBMP(const char* file) {
    std::cout << "Loading Texture: " << file << std::endl;
    BMPImage* image = LoadBMP(file);
    if (image == nullptr) {
        std::cout << "Failed to load the image: " << file << ", Error: " << SDL_GetError()
                  << std::endl;
        return 0;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    CRenderState::BindTexture(name);
    GLenum format = image->components == 4 ? GL_RGBA : GL_RGB;
    CMipmapBuilder::Upload(GL_TEXTURE_2D, image->components, image->width, image->height, format,
                           image->data);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    // Nothing reads the decoded pixels after the upload.
    FreeBMP(image);
    return name;
}

BMPImage* CUtils::LoadBMP(const char* file) {
    std::string problem;
    std::FILE* in = CFileCheck::Open(file, &problem);
    if (in != nullptr) {
        problem = BmpProblem(in, file);
    }
    if (!problem.empty()) {
        if (in != nullptr) {
            std::fclose(in);
        }
        SDL_SetError("%s", problem.c_str());
        std::cerr << " Failed loading " << file << " : " << problem << std::endl;
        return nullptr;
    }
    SDL_Surface* surface =
        SDL_LoadBMP_RW(in != nullptr ? CPlatform::FileStream(in, file) : nullptr, 1);
    if (surface == nullptr) {
        std::cerr << " Failed loading " << file << " : " << SDL_GetError() << std::endl;
        return nullptr;
    }
    int w = surface->w;
    int h = surface->h;
    int b = surface->format->BytesPerPixel;
    // SDL hands back some broken files as a surface with an impossible pixel size or a pitch
    // shorter than a row; walking such rows would read past its buffer.
    if (b < 1 || b > 4 || surface->pixels == nullptr || surface->pitch < w * b) {
        std::cerr << " Failed loading " << file << " : unsupported pixel layout" << std::endl;
        SDL_FreeSurface(surface);
        return nullptr;
    }
    CPlatform::LockPixels(surface);
    unsigned char* pixels = static_cast<unsigned char*>(surface->pixels);
    // Rows are addressed by the surface's real pitch, which SDL pads to four bytes.
    int pitch = surface->pitch;
    int rowBytes = w * b;
    for (int i = 0; i < h / 2; ++i) {
        unsigned char* top = pixels + i * pitch;
        unsigned char* bottom = pixels + (h - 1 - i) * pitch;
        for (int j = 0; j < rowBytes; ++j) {
            SwapBytes(top + j, bottom + j);
        }
    }

    BMPImage* image = static_cast<BMPImage*>(std::malloc(sizeof(BMPImage)));
    image->components = 3;
    image->width = w;
    image->height = h;
    image->data = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(w) * h * 3 + 1));
    for (int row = 0; row < h; ++row) {
        const unsigned char* in = pixels + row * pitch;
        for (int col = 0; col < w; ++col) {
            const unsigned char* p = in + col * b;
            Uint32 value = 0;
            for (int k = b - 1; k >= 0; --k) {
                value = (value << 8) | p[k];
            }
            size_t index = (static_cast<size_t>(row) * w + col) * 3;
            SDL_GetRGB(value, surface->format, &image->data[index], &image->data[index + 1],
                       &image->data[index + 2]);
        }
    }
    CPlatform::UnlockPixels(surface);
    SDL_FreeSurface(surface);
    return image;
}

void CUtils::FreeBMP(BMPImage* image) {
    if (image != nullptr) {
        std::free(image->data);
        std::free(image);
    }
}

void CUtils::SwapBytes(unsigned char* a, unsigned char* b) {
    unsigned char t = *a;
    *a = *b;
    *b = t;
}
