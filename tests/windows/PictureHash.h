// The fingerprint of a decoded picture that the Windows tests compare between SDL_image on Linux
// and the Windows Imaging Component under wine.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace orvane_test {

// FNV-1a over the picture's pixels as straight RGBA, rows top down, as the engine uploads them:
// a colour-keyed pixel is transparent, and a transparent pixel counts as 0, 0, 0, 0 whatever
// colour it keeps.
inline std::uint64_t PictureHash(SDL_Surface* surface) {
    std::uint64_t hash = 1469598103934665603ULL;
    auto add = [&hash](Uint8 byte) { hash = (hash ^ byte) * 1099511628211ULL; };
    const SDL_PixelFormat* format = surface->format;
    const bool keyed = (surface->flags & SDL_SRCCOLORKEY) != 0;
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < surface->w; ++x) {
            const Uint8* p = row + x * format->BytesPerPixel;
            Uint32 value = 0;
            for (int i = format->BytesPerPixel - 1; i >= 0; --i) {
                value = (value << 8) | p[i];  // little-endian
            }
            Uint8 rgba[4];
            SDL_GetRGBA(value, surface->format, &rgba[0], &rgba[1], &rgba[2], &rgba[3]);
            if ((keyed && value == format->colorkey) || rgba[3] == 0) {
                rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
            }
            for (Uint8 byte : rgba) {
                add(byte);
            }
        }
    }
    SDL_UnlockSurface(surface);
    return hash;
}

}  // namespace orvane_test
