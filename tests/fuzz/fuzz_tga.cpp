// Fuzz target for the TGA decoder: any bytes must end in a clean false with exactly one known
// message line, or in a picture of exactly width x height pixels, with no memory error.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

#include "textures/CTgaImage.h"

namespace {

const char* const kName = "fuzz.tga";

const char* const kFailures[] = {
    "Could not read file header: ",
    "TGA file be type 2 or type 10, Invalid Image: ",
    "Could not read info header: ",
    "Invalid texture information: ",
    "Could not allocate memory for image: ",
    "Could not read image data: ",
    "Could not read RLE header: ",
    "Could not read from file: ",
    "Too many pixels read: ",
};

bool IsKnownFailure(const std::string& log) {
    if (log == "Failed to read TGAcomment!\n") {
        return true;
    }
    for (const char* failure : kFailures) {
        if (log == std::string(failure) + kName + "\n") {
            return true;
        }
    }
    return false;
}

// The decoder's lines are checked here and would only flood the fuzzer's own output.
std::ostringstream& Log() {
    static std::ostringstream* sink = [] {
        auto* s = new std::ostringstream();
        std::cout.rdbuf(s->rdbuf());
        return s;
    }();
    return *sink;
}

}  // namespace

// Keeps the read of every byte from being optimised away.
volatile unsigned g_checksum = 0;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::ostringstream& log = Log();
    log.str("");
    static unsigned char none = 0;
    void* bytes = size > 0 ? const_cast<uint8_t*>(data) : static_cast<void*>(&none);
    std::FILE* file = fmemopen(bytes, size, "rb");
    if (file == nullptr) {
        return 0;
    }
    CTgaImage image;
    bool ok = image.Decode(file, kName);
    std::string text = log.str();
    if (!ok) {
        if (!IsKnownFailure(text) || image.GetPixels() != nullptr) {
            std::fprintf(stderr, "unexpected failure output: %s\n", text.c_str());
            std::abort();
        }
        return 0;
    }
    size_t expected =
        static_cast<size_t>(image.GetWidth()) * image.GetHeight() * (image.GetBitsPerPixel() / 8);
    if (!text.empty() || image.GetPixels() == nullptr || image.GetImageSize() != expected ||
        (image.GetBitsPerPixel() != 24 && image.GetBitsPerPixel() != 32)) {
        std::fprintf(stderr, "inconsistent picture: %s\n", text.c_str());
        std::abort();
    }
    // Reads every byte, so that a buffer shorter than the picture shows up under the sanitizer.
    unsigned sum = 0;
    for (size_t i = 0; i < image.GetImageSize(); ++i) {
        sum += image.GetPixels()[i];
    }
    g_checksum = sum;
    return 0;
}
