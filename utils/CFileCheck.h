/// @file
/// CFileCheck: how every file reader of the engine opens what it reads.
#pragma once

#include <cstdio>
#include <string>

/// Keeps directories, pipes and devices away from the engine's readers. Opening a directory
/// succeeds on Linux and reports a size of LONG_MAX, and opening a pipe blocks; either one,
/// handed to a decoder, ends in a crash or a hang instead of the line a missing file gets.
///
/// A path is opened first, without blocking, and then what was opened is checked, so nothing
/// can be swapped in between the check and the reading: the reader reads from the stream it
/// was given. A refused path is treated by its reader like a missing file (the same line on
/// standard output), and one more line on standard error names the file and says why.
class CFileCheck {
public:
    /// Opens a regular file (symbolic links followed) for reading in binary mode. Null when
    /// it cannot be opened (SDL's error then reads "Couldn't open PATH" for a missing file, as
    /// SDL's own opening says, and "Couldn't open PATH: REASON" otherwise, "Permission denied"
    /// say) or when it is not a regular file: then @p why, when given, receives the reason
    /// and nothing is written; without @p why "Cannot read PATH: WHY" goes to standard error
    /// and becomes SDL's error (for the loaders that report SDL_GetError).
    static std::FILE* Open(const char* path, std::string* why = nullptr);
    /// The bytes from the read position of an open file to its end, or -1 when they cannot be
    /// established (a pipe, a directory, a device); then one line on standard error names the
    /// path. Streams without a descriptor (fmemopen) are measured by seeking.
    static long long RemainingBytes(std::FILE* file, const char* path);
    /// Writes "Cannot read PATH: WHY" on standard error and leaves it as SDL's error.
    static void Report(const char* path, const std::string& why);
};
