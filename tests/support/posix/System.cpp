// The suite's view of a POSIX system: the shell, the environment, temporary folders, the
// picture decoder and the definitions a test program replaces.
#include <SDL_image.h>
#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "support/TestSupport.h"

namespace orvane_test {

std::string Shell(const std::string& command) {
    std::string output;
    // Tools such as xdotool, ImageMagick and cmake run without the sanitizer preload that the
    // test's own programs get.
    const char* preload = std::getenv("LD_PRELOAD");
    std::string savedPreload = preload != nullptr ? preload : "";
    unsetenv("LD_PRELOAD");
    FILE* pipe = popen(command.c_str(), "r");
    if (!savedPreload.empty()) {
        setenv("LD_PRELOAD", savedPreload.c_str(), 1);
    }
    if (pipe == nullptr) {
        return output;
    }
    char buffer[1024];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        output.append(buffer, n);
    }
    pclose(pipe);
    return output;
}

const char* const kVideoDriver = "x11";

void SetEnv(const std::string& name, const std::string& value) {
    if (value.empty()) {
        unsetenv(name.c_str());
    } else {
        setenv(name.c_str(), value.c_str(), 1);
    }
}

std::string MakeTempDir(const std::string& prefix) {
    std::string pattern = "/tmp/" + prefix + "_XXXXXX";
    return mkdtemp(&pattern[0]) != nullptr ? pattern : std::string();
}

std::FILE* MemoryFile(const void* data, size_t size) {
    return fmemopen(const_cast<void*>(data), size, "rb");
}

std::FILE* PipeOf(const std::string& bytes) {
    int ends[2];
    if (pipe(ends) != 0) {
        return nullptr;
    }
    bool written = write(ends[1], bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(ends[1]);
    if (!written) {
        close(ends[0]);
        return nullptr;
    }
    return fdopen(ends[0], "rb");
}

SDL_Surface* DecodePicture(const std::string& path) {
    return IMG_Load(path.c_str());
}

void* NextDefinition(const char*, const char* name) {
    return dlsym(RTLD_NEXT, name);
}

}  // namespace orvane_test
