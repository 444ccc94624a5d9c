/// @file
/// CFileCheck: what every file reader of the engine asks before it reads.
#pragma once

#include <cstdio>
#include <string>

/// Keeps directories, pipes and devices away from the engine's readers. Opening a directory
/// succeeds on Linux and reports a size of LONG_MAX, and opening a pipe blocks; either one,
/// handed to a decoder, ends in a crash or a hang instead of the line a missing file gets.
///
/// A refused path is treated by its reader like a missing file (the same line on standard
/// output), and one more line on standard error names the file and says why.
class CFileCheck {
public:
    /// Why the path cannot be read as a file, or empty when it names a regular file (symbolic
    /// links followed) or nothing at all: a missing file is left to the reader's own open, which
    /// reports it as it always has. Writes nothing.
    static std::string Problem(const char* path);
    /// True when Problem is empty. Otherwise writes "Cannot read PATH: WHY" on standard error,
    /// leaves the same text as SDL's error (for the loaders that report SDL_GetError) and
    /// returns false.
    static bool Admits(const char* path);
    /// The bytes from the read position of an open file to its end, or -1 when they cannot be
    /// established (a pipe, a directory, a device); then one line on standard error names the
    /// path. Streams without a descriptor (fmemopen) are measured by seeking.
    static long long RemainingBytes(std::FILE* file, const char* path);
};
