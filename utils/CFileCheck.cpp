// CFileCheck: opening without blocking and refusing what is not a regular file.
#include "utils/CFileCheck.h"

#include "platform/CFileSystem.h"

#include <SDL.h>
#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <iostream>

std::FILE* CFileCheck::Open(const char* path, std::string* why) {
    if (path == nullptr) {
        return nullptr;
    }
    int descriptor = CFileSystem::OpenWithoutWaiting(path);
    if (descriptor < 0) {
        // A missing file reads as SDL's own opening says; any other failure says why.
        int reason = errno;
        if (reason == ENOENT) {
            SDL_SetError("Couldn't open %s", path);
        } else {
            SDL_SetError("Couldn't open %s: %s", path, std::strerror(reason));
        }
        return nullptr;
    }
    CFileSystem::Kind kind = CFileSystem::KindOf(descriptor);
    std::string problem;
    if (kind == CFileSystem::Kind::Unknown) {
        problem = "its kind cannot be established";
    } else if (kind == CFileSystem::Kind::Directory) {
        problem = "a directory, not a regular file";
    } else if (kind != CFileSystem::Kind::Regular) {
        problem = "not a regular file";
    }
    std::FILE* file = nullptr;
    if (problem.empty()) {
        CFileSystem::EndNonBlocking(descriptor);
        file = fdopen(descriptor, "rb");
        if (file == nullptr) {
            SDL_SetError("Couldn't open %s", path);
        }
    }
    if (file == nullptr) {
        close(descriptor);
    }
    if (!problem.empty()) {
        if (why != nullptr) {
            *why = problem;
        } else {
            Report(path, problem);
        }
    }
    return file;
}

void CFileCheck::Report(const char* path, const std::string& why) {
    std::string line = std::string("Cannot read ") + path + ": " + why;
    std::cerr << line << std::endl;
    SDL_SetError("%s", line.c_str());
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
