// The pictures as the Windows build decodes them, for tests/windows: one line a file,
// "PATH WIDTH HEIGHT HASH" (PictureHash), or "PATH failed: ERROR".
#include <SDL.h>

#include <cinttypes>
#include <cstdio>

#include "platform/CPlatform.h"
#include "tests/windows/PictureHash.h"
#include "utils/CFileCheck.h"

// A console program: its own main, not SDL's start-up module.
#undef main

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::FILE* file = CFileCheck::Open(argv[i]);
        SDL_Surface* surface = file != nullptr ? CPlatform::LoadPicture(file, argv[i]) : nullptr;
        if (surface == nullptr) {
            std::printf("%s failed: %s\n", argv[i], SDL_GetError());
            continue;
        }
        std::printf("%s %d %d %016" PRIx64 "\n", argv[i], surface->w, surface->h,
                    orvane_test::PictureHash(surface));
        SDL_FreeSurface(surface);
    }
    return 0;
}
