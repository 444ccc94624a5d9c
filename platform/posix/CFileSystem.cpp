// CFileSystem on POSIX systems (Linux, and the browser's file system): open, fstat and stat.
#include "platform/CFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>

int CFileSystem::OpenWithoutWaiting(const char* path) {
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
    return open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

CFileSystem::Kind CFileSystem::KindOf(int descriptor) {
    struct stat info;
    if (fstat(descriptor, &info) != 0) {
        return Kind::Unknown;
    }
    if (S_ISDIR(info.st_mode)) {
        return Kind::Directory;
    }
    return S_ISREG(info.st_mode) ? Kind::Regular : Kind::Other;
}

void CFileSystem::EndNonBlocking(int descriptor) {
    // Reading a regular file never blocks; the flag only matters to the opening.
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
}

bool CFileSystem::StatusOf(const char* path, Status* status) {
    struct stat info;
    if (stat(path, &info) != 0) {
        return false;
    }
    status->modifiedNs =
        static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    status->changedNs =
        static_cast<long long>(info.st_ctim.tv_sec) * 1000000000LL + info.st_ctim.tv_nsec;
    status->size = static_cast<long long>(info.st_size);
    status->inode = static_cast<unsigned long long>(info.st_ino);
    status->device = static_cast<unsigned long long>(info.st_dev);
    return true;
}
