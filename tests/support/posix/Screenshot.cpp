// A screenshot of the X display, taken with ImageMagick's import and decoded by SDL_image.
#include <SDL_image.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "support/TestSupport.h"

namespace orvane_test {

Screenshot::Screenshot() {
    char path[] = "/tmp/orvane-shot-XXXXXX";
    int fd = mkstemp(path);
    close(fd);
    std::string png = std::string(path) + ".png";
    Shell("import -window root " + png + " 2>/dev/null");
    surface_ = IMG_Load(png.c_str());
    std::remove(png.c_str());
    std::remove(path);
}

Screenshot::~Screenshot() {
    if (surface_ != nullptr) {
        SDL_FreeSurface(surface_);
    }
}

bool Screenshot::Valid() const {
    return surface_ != nullptr && surface_->w >= 1024 && surface_->h >= 768;
}

Rgb Screenshot::At(int x, int y) const {
    return SurfacePixel(surface_, x, y);
}

int Screenshot::Count(int x0, int y0, int x1, int y1,
                      const std::function<bool(const Rgb&)>& test) const {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (test(At(x, y))) {
                ++count;
            }
        }
    }
    return count;
}

}  // namespace orvane_test
