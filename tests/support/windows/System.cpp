// The suite's view of Windows under wine: the environment, temporary folders, the picture
// decoder, the definitions a test program replaces, and the host's shell, which wine starts as it
// starts a Windows program.
#include <windows.h>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/CPlatform.h"
#include "support/TestSupport.h"
#include "utils/CFileCheck.h"

namespace orvane_test {

namespace {

// The host's name of a file, from wine's own translation.
std::string HostPath(const char* path) {
    using Translate = char* (*)(const wchar_t*);
    auto translate = reinterpret_cast<Translate>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t full[MAX_PATH];
    std::string host;
    if (translate != nullptr &&
        GetFullPathNameW(std::wstring(path, path + std::strlen(path)).c_str(), MAX_PATH, full,
                         nullptr) != 0) {
        char* name = translate(full);
        if (name != nullptr) {
            host = name;
            HeapFree(GetProcessHeap(), 0, name);
        }
    }
    return host;
}

}  // namespace

std::string Shell(const std::string& command) {
    // Wine starts a host program without waiting for it or passing it this program's handles:
    // the command writes its output to a file and renames that file when it is done.
    static int count = 0;
    const std::string base = "/tmp/orvane_shell_" + std::to_string(GetCurrentProcessId()) + "_" +
                             std::to_string(++count);
    const std::string script = "cd '" + HostPath(".") + "' && { " + command + "\n} > " + base +
                               ".out; mv " + base + ".out " + base + ".done";
    // One argument of sh -c, quoted as command lines are split: backslashes count only before
    // a quote.
    std::string line = "/bin/sh -c \"";
    size_t backslashes = 0;
    for (char c : script) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"') {
                line.append(backslashes + 1, '\\');
            }
            backslashes = 0;
        }
        line += c;
    }
    line.append(backslashes, '\\');
    line += '"';
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return std::string();
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    const std::string done = base + ".done";
    for (int waited = 0; GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++waited) {
        if (waited == 60000) {
            return std::string();
        }
        Sleep(2);
    }
    std::string output = ReadFile(done);
    std::remove(done.c_str());
    return output;
}

const char* const kVideoDriver = "windib";

void SetEnv(const std::string& name, const std::string& value) {
    _putenv_s(name.c_str(), value.c_str());
}

std::string MakeTempDir(const std::string& prefix) {
    std::string pattern = "/tmp/" + prefix + "_XXXXXX";
    if (_mktemp_s(&pattern[0], pattern.size() + 1) != 0 || _mkdir(pattern.c_str()) != 0) {
        return std::string();
    }
    return pattern;
}

std::FILE* MemoryFile(const void* data, size_t size) {
    // The C runtime has no streams over memory: a temporary file with the bytes.
    std::FILE* file = std::tmpfile();
    if (file != nullptr &&
        (std::fwrite(data, 1, size, file) != size || std::fseek(file, 0, SEEK_SET) != 0)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

std::FILE* PipeOf(const std::string& bytes) {
    int ends[2];
    if (_pipe(ends, 4096, _O_BINARY) != 0) {
        return nullptr;
    }
    bool written = _write(ends[1], bytes.data(), static_cast<unsigned>(bytes.size())) ==
                   static_cast<int>(bytes.size());
    _close(ends[1]);
    if (!written) {
        _close(ends[0]);
        return nullptr;
    }
    return _fdopen(ends[0], "rb");
}

SDL_Surface* DecodePicture(const std::string& path) {
    std::FILE* file = CFileCheck::Open(path.c_str());
    return file != nullptr ? CPlatform::LoadPicture(file, path.c_str()) : nullptr;
}

void* NextDefinition(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    return module != nullptr ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace orvane_test
