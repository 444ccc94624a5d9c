/// @file
/// CFileSystem: the operating system's calls beneath the engine's file readers and watcher.
#pragma once

/// What Linux (and the browser's POSIX files) and Windows do differently when a file is opened
/// for reading or looked at, so that CFileCheck and CFileWatcher stay the same everywhere. Each
/// kind of system has its own source, platform/posix/CFileSystem.cpp or
/// platform/windows/CFileSystem.cpp.
class CFileSystem {
public:
    /// What an open descriptor refers to.
    enum class Kind { Regular, Directory, Other, Unknown };

    /// What is known of a file by its path.
    struct Status {
        long long modifiedNs = 0;        ///< Last modification, in nanoseconds since the epoch.
        long long changedNs = 0;         ///< Last change of the contents or the permissions.
        long long size = 0;              ///< Size in bytes.
        unsigned long long inode = 0;    ///< The file's number on its file system.
        unsigned long long device = 0;   ///< The file system's number.
    };

    /// Opens @p path for reading in binary mode without waiting for a writer (a pipe) and
    /// without handing the descriptor to child processes; -1 when it cannot be opened. A
    /// directory opens too, so that its kind can be told.
    static int OpenWithoutWaiting(const char* path);
    /// What the descriptor refers to.
    static Kind KindOf(int descriptor);
    /// Makes reads of a regular file opened by OpenWithoutWaiting behave as any other's.
    static void EndNonBlocking(int descriptor);
    /// The file's status; false when the path names no file that can be looked at.
    static bool StatusOf(const char* path, Status* status);
};
