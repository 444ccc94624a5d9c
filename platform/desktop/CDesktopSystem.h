/// @file
/// CDesktopSystem: what Linux and Windows do differently beneath the desktop's CPlatform.
#pragma once

#include <cstdio>
#include <string>

struct SDL_Surface;

/// The few places where the two desktops part ways: how pictures are decoded (SDL_image on
/// Linux, the Windows Imaging Component on Windows), where SDL's own buffer swap is found, and
/// how SDL's video starts (the driver named for it), and whether a display server must be asked
/// first. Each has its own source,
/// platform/linux/CDesktopSystem.cpp or platform/windows/CDesktopSystem.cpp.
class CDesktopSystem {
public:
    /// The picture in @p file (opened from @p path and handed over: closed in any case) as an
    /// SDL surface; null when it cannot be decoded, with the reason as SDL's error.
    static SDL_Surface* DecodePicture(std::FILE* file, const char* path);
    /// SDL's own SDL_GL_SwapBuffers, which the engine's library stands in front of; null when
    /// it cannot be found.
    static void (*SdlSwapBuffers())();
    /// As CPlatform::VideoDriverNamed.
    static std::string VideoDriverNamed();
    /// As CPlatform::StartVideo.
    static bool StartVideo(bool fullscreen);
    /// As CPlatform::DisplayServerProblem.
    static std::string DisplayServerProblem();
};
