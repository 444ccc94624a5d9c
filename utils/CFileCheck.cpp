// CFileCheck: refusing what is not a regular file before a reader opens or sizes it.
#include "utils/CFileCheck.h"

#include <SDL.h>
#include <sys/stat.h>

#include <iostream>

namespace {

void Report(const char* path, const std::string& why) {
    std::string line = std::string("Cannot read ") + path + ": " + why;
    std::cerr << line << std::endl;
    SDL_SetError("%s", line.c_str());
}

}  // namespace

std::string CFileCheck::Problem(const char* path) {
    struct stat info;
    if (path == nullptr || stat(path, &info) != 0 || S_ISREG(info.st_mode)) {
        return "";
    }
    return S_ISDIR(info.st_mode) ? "a directory, not a regular file" : "not a regular file";
}

bool CFileCheck::Admits(const char* path) {
    std::string problem = Problem(path);
    if (problem.empty()) {
        return true;
    }
    Report(path, problem);
    return false;
}

long long CFileCheck::RemainingBytes(std::FILE* file, const char* path) {
    const char* name = path != nullptr ? path : "";
    long here = std::ftell(file);
    long long remaining = -1;
    struct stat info;
    int descriptor = fileno(file);
    if (here < 0) {
        // A pipe cannot tell where it is, let alone where it ends.
    } else if (descriptor >= 0) {
        if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= here) {
            remaining = static_cast<long long>(info.st_size) - here;
        }
    } else if (std::fseek(file, 0, SEEK_END) == 0) {
        long end = std::ftell(file);
        if (std::fseek(file, here, SEEK_SET) == 0 && end >= here) {
            remaining = static_cast<long long>(end) - here;
        }
    }
    if (remaining < 0) {
        Report(name, "its size cannot be established");
    }
    return remaining;
}
