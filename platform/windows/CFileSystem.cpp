// CFileSystem on Windows: file handles with every sharing mode, wrapped as C descriptors.
#include "platform/CFileSystem.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>

namespace {

// A handle that reads the file and lets others write, rename and delete it meanwhile, as a file
// opened on Linux does; backup semantics let a directory open as well.
HANDLE OpenHandle(const char* path, DWORD access) {
    return CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

// A pipe's opening never waits on Windows, and handles are not inherited unless asked for.
int CFileSystem::OpenWithoutWaiting(const char* path) {
    HANDLE handle = OpenHandle(path, GENERIC_READ);
    if (handle == INVALID_HANDLE_VALUE) {
        // The caller tells a missing file from one it may not read by errno, as on Linux.
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            errno = ENOENT;
        } else if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
            errno = EACCES;
        } else {
            errno = EIO;
        }
        return -1;
    }
    int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
    }
    return descriptor;
}

CFileSystem::Kind CFileSystem::KindOf(int descriptor) {
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    if (handle == INVALID_HANDLE_VALUE) {
        return Kind::Unknown;
    }
    DWORD type = GetFileType(handle);
    if (type != FILE_TYPE_DISK) {
        return type == FILE_TYPE_UNKNOWN ? Kind::Unknown : Kind::Other;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info)) {
        return Kind::Unknown;
    }
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Kind::Directory
                                                                  : Kind::Regular;
}

void CFileSystem::EndNonBlocking(int /*descriptor*/) {}

bool CFileSystem::StatusOf(const char* path, Status* status) {
    HANDLE handle = OpenHandle(path, FILE_READ_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info;
    bool known = GetFileInformationByHandle(handle, &info) != 0;
    // The change time (contents or attributes, as Linux's) is only in the basic information.
    FILE_BASIC_INFO basic;
    bool changeKnown =
        known && GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) != 0;
    CloseHandle(handle);
    if (!known) {
        return false;
    }
    // FILETIME counts 100 ns steps since 1601; the stamp counts nanoseconds since 1970.
    const long long kEpochSteps = 116444736000000000LL;
    long long steps = (static_cast<long long>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                      info.ftLastWriteTime.dwLowDateTime;
    status->modifiedNs = (steps - kEpochSteps) * 100;
    status->changedNs =
        changeKnown ? (basic.ChangeTime.QuadPart - kEpochSteps) * 100 : status->modifiedNs;
    status->size = (static_cast<long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    status->inode = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) |
                    info.nFileIndexLow;
    status->device = info.dwVolumeSerialNumber;
    return true;
}
