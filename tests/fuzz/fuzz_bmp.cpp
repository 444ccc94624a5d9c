// Fuzz target for the BMP loader: SDL's decoder, the vertical flip and the conversion to red,
// green, blue bytes. The loader takes a file name, so each input goes through a temporary file.
// Any bytes must end in null with one line on standard error, or in a complete picture.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "utils/CUtils.h"

namespace {

std::string g_path;

void RemoveTemporary() {
    if (!g_path.empty()) {
        unlink(g_path.c_str());
    }
}

const std::string& TemporaryPath() {
    if (g_path.empty()) {
        char name[] = "/tmp/orvane_fuzz_bmp_XXXXXX";
        int fd = mkstemp(name);
        if (fd < 0) {
            std::perror("mkstemp");
            std::abort();
        }
        close(fd);
        g_path = name;
        std::atexit(RemoveTemporary);
    }
    return g_path;
}

// The failure line is checked here and would only flood the fuzzer's own output.
std::ostringstream& Log() {
    static std::ostringstream* sink = [] {
        auto* s = new std::ostringstream();
        std::cerr.rdbuf(s->rdbuf());
        return s;
    }();
    return *sink;
}

}  // namespace

// Keeps the read of every byte from being optimised away.
volatile unsigned g_checksum = 0;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = TemporaryPath();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, out) != size) {
        std::abort();
    }
    std::fclose(out);

    std::ostringstream& log = Log();
    log.str("");
    CUtils utils;
    BMPImage* image = utils.LoadBMP(path.c_str());
    std::string text = log.str();
    if (image == nullptr) {
        if (text.rfind(" Failed loading " + path + " : ", 0) != 0 || text.back() != '\n') {
            std::fprintf(stderr, "unexpected failure output: %s\n", text.c_str());
            std::abort();
        }
        return 0;
    }
    if (!text.empty() || image->components != 3 || image->width <= 0 || image->height <= 0 ||
        image->data == nullptr) {
        std::fprintf(stderr, "inconsistent picture %dx%d\n", image->width, image->height);
        std::abort();
    }
    // Reads every byte, so that a buffer shorter than the picture shows up under the sanitizer.
    size_t bytes = static_cast<size_t>(image->width) * image->height * 3;
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) {
        sum += image->data[i];
    }
    g_checksum = sum;
    CUtils::FreeBMP(image);
    return 0;
}
