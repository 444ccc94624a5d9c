// CDesktopSystem on Windows: pictures decoded by the Windows Imaging Component, SDL found in
// SDL.dll, and no display server to ask.
#include "platform/desktop/CDesktopSystem.h"

#include <SDL.h>
#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Releases a COM interface at the end of its scope.
template <class T>
struct Released {
    T* pointer = nullptr;
    ~Released() {
        if (pointer != nullptr) {
            pointer->Release();
        }
    }
    T** operator&() { return &pointer; }
    T* operator->() const { return pointer; }
};

// The system's own text for a failure, on one line, or the number when it has none. The
// decoder's own failures have their texts in its library, when it has any.
void SetFailure(HRESULT result) {
    char text[512] = "";
    HMODULE codecs = GetModuleHandleA("windowscodecs.dll");
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                  (codecs != nullptr ? FORMAT_MESSAGE_FROM_HMODULE : 0);
    DWORD length = FormatMessageA(flags, codecs, static_cast<DWORD>(result), 0, text,
                                  sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                          text[length - 1] == ' ' || text[length - 1] == '.')) {
        text[--length] = '\0';
    }
    for (DWORD i = 0; i < length; ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            text[i] = ' ';
        }
    }
    if (length == 0) {
        std::snprintf(text, sizeof text, "HRESULT 0x%08lX", static_cast<unsigned long>(result));
    }
    SDL_SetError("%s", text);
}

// The whole file from its read position; false on a read error.
bool ReadAll(std::FILE* file, std::vector<unsigned char>* bytes) {
    unsigned char chunk[65536];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes->insert(bytes->end(), chunk, chunk + count);
    }
    return std::ferror(file) == 0;
}

// Whether pixels of the format can be transparent (an alpha channel, or a palette that may
// have transparent entries).
bool MayBeTransparent(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
    Released<IWICComponentInfo> info;
    Released<IWICPixelFormatInfo2> formatInfo;
    BOOL transparent = TRUE;
    if (SUCCEEDED(factory->CreateComponentInfo(format, &info)) &&
        SUCCEEDED(info->QueryInterface(IID_IWICPixelFormatInfo2,
                                       reinterpret_cast<void**>(&formatInfo)))) {
        formatInfo->SupportsTransparency(&transparent);
    }
    return transparent != FALSE;
}

// The first frame of the encoded picture, rows top down: straight RGBA, four bytes a pixel, or,
// as SDL_image gives a picture that cannot be transparent, RGB in three.
HRESULT Decode(const std::vector<unsigned char>& bytes, UINT* width, UINT* height, UINT* channels,
               std::vector<unsigned char>* pixels) {
    Released<IWICImagingFactory> factory;
    HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
    Released<IWICStream> stream;
    if (SUCCEEDED(result)) {
        result = factory->CreateStream(&stream);
    }
    if (SUCCEEDED(result)) {
        result = stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                              static_cast<DWORD>(bytes.size()));
    }
    Released<IWICBitmapDecoder> decoder;
    if (SUCCEEDED(result)) {
        result = factory->CreateDecoderFromStream(stream.pointer, nullptr,
                                                  WICDecodeMetadataCacheOnDemand, &decoder);
    }
    Released<IWICBitmapFrameDecode> frame;
    if (SUCCEEDED(result)) {
        result = decoder->GetFrame(0, &frame);
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppRGBA;
    if (SUCCEEDED(result)) {
        result = frame->GetPixelFormat(&format);
    }
    Released<IWICFormatConverter> converter;
    if (SUCCEEDED(result)) {
        result = factory->CreateFormatConverter(&converter);
    }
    if (SUCCEEDED(result)) {
        result = converter->Initialize(frame.pointer, GUID_WICPixelFormat32bppRGBA,
                                       WICBitmapDitherTypeNone, nullptr, 0.0,
                                       WICBitmapPaletteTypeCustom);
    }
    if (SUCCEEDED(result)) {
        result = converter->GetSize(width, height);
    }
    if (SUCCEEDED(result)) {
        pixels->resize(static_cast<size_t>(*width) * *height * 4);
        result = converter->CopyPixels(nullptr, *width * 4, static_cast<UINT>(pixels->size()),
                                       pixels->data());
    }
    // Three channels, as SDL_image gives them, where the picture cannot be transparent: a
    // format without alpha, and, since a palette may have transparent entries that wine's
    // decoder does not declare, no pixel that is not opaque. Converters to three channels are
    // not there for every format: the opaque alpha goes here.
    *channels = 4;
    if (SUCCEEDED(result) && !MayBeTransparent(factory.pointer, format) &&
        std::all_of(pixels->begin(), pixels->end(), [&pixels](const unsigned char& byte) {
            return (&byte - pixels->data()) % 4 != 3 || byte == 255;
        })) {
        *channels = 3;
    }
    if (*channels == 3) {
        const size_t count = static_cast<size_t>(*width) * *height;
        for (size_t i = 0; i < count; ++i) {
            std::memmove(pixels->data() + i * 3, pixels->data() + i * 4, 3);
        }
        pixels->resize(count * 3);
    }
    return result;
}

}  // namespace

SDL_Surface* CDesktopSystem::DecodePicture(std::FILE* file, const char* /*path*/) {
    std::vector<unsigned char> bytes;
    bool read = ReadAll(file, &bytes);
    std::fclose(file);
    if (!read) {
        SetFailure(HRESULT_FROM_WIN32(ERROR_READ_FAULT));
        return nullptr;
    }
    // COM may already be set up on this thread, in either model; either one serves.
    HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    UINT width = 0;
    UINT height = 0;
    UINT channels = 4;
    std::vector<unsigned char> pixels;
    HRESULT result = Decode(bytes, &width, &height, &channels, &pixels);
    if (SUCCEEDED(initialised)) {
        CoUninitialize();
    }
    if (FAILED(result)) {
        SetFailure(result);
        return nullptr;
    }
    // The bytes in memory are R, G, B (and A) on every Windows machine (little-endian).
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, static_cast<int>(width), static_cast<int>(height),
                             static_cast<int>(channels * 8), 0x000000FF, 0x0000FF00, 0x00FF0000,
                             channels == 4 ? 0xFF000000 : 0);
    if (surface == nullptr) {
        return nullptr;
    }
    for (UINT row = 0; row < height; ++row) {
        std::memcpy(static_cast<unsigned char*>(surface->pixels) + row * surface->pitch,
                    pixels.data() + static_cast<size_t>(row) * width * channels, width * channels);
    }
    return surface;
}

void (*CDesktopSystem::SdlSwapBuffers())() {
    HMODULE sdl = GetModuleHandleA("SDL.dll");
    return sdl != nullptr
               ? reinterpret_cast<void (*)()>(GetProcAddress(sdl, "SDL_GL_SwapBuffers"))
               : nullptr;
}

// SDL 1.2's Windows drivers need no choosing: SDL takes the user's SDL_VIDEODRIVER, if any.
std::string CDesktopSystem::VideoDriverNamed() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return driver != nullptr ? driver : "";
}

bool CDesktopSystem::StartVideo(bool /*fullscreen*/) {
    return SDL_Init(SDL_INIT_VIDEO) == 0;
}

// Windows always has its desktop; SDL says itself when a window cannot be opened.
std::string CDesktopSystem::DisplayServerProblem() {
    return "";
}
