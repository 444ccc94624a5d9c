// Shared by the two benchmark programs: the clock, the time since the process was spawned and
// the result lines the runner reads back.
#pragma once

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace bench {

// Processor time of the whole process, all threads (llvmpipe rasterises on its own threads).
inline double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The runner stamps the moment it forked us into BENCH_SPAWN_NS, which makes start-up time
// exact; run by hand we fall back to the kernel's start time, which has clock-tick resolution.
inline long long SpawnNs() {
    if (const char* stamp = std::getenv("BENCH_SPAWN_NS")) {
        return std::atoll(stamp);
    }
    long long startTicks = 0;
    if (std::FILE* stat = std::fopen("/proc/self/stat", "r")) {
        char buffer[1024] = {};
        size_t count = std::fread(buffer, 1, sizeof(buffer) - 1, stat);
        std::fclose(stat);
        buffer[count] = '\0';
        // Field 22 counts from the closing parenthesis of the command name (field 2).
        const char* p = std::strrchr(buffer, ')');
        for (int field = 2; p != nullptr && field < 22; ++field) {
            p = std::strchr(p + 1, ' ');
        }
        if (p != nullptr) {
            startTicks = std::atoll(p + 1);
        }
    }
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    long long bootNs = static_cast<long long>(boot.tv_sec) * 1000000000LL + boot.tv_nsec;
    long long ageNs = bootNs - startTicks * (1000000000LL / sysconf(_SC_CLK_TCK));
    return MonotonicNs() - ageNs;
}

// Result lines go to the descriptor the runner names in BENCH_RESULT_FD, so the engine's log on
// standard output never mixes with them; by hand they appear on standard output.
inline void Report(const std::string& line) {
    const char* named = std::getenv("BENCH_RESULT_FD");
    int fd = named != nullptr ? std::atoi(named) : 1;
    std::string text = "bench " + line + "\n";
    ssize_t written = write(fd, text.data(), text.size());
    (void)written;
}

// "--frames N": the number of timed frames after the first presented one.
inline int ParseFrames(int argc, char** argv, int fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0) {
            int frames = std::atoi(argv[i + 1]);
            return frames > 0 ? frames : fallback;
        }
    }
    return fallback;
}

inline const char* ParseOption(int argc, char** argv, const char* name, const char* fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return argv[i + 1];
        }
    }
    return fallback;
}

// Saves the frame just presented, as the X server shows it in the window, as a binary PPM, so
// that the pictures of the engine and of the references can be compared.
inline bool SaveWindow(const char* path) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11) {
        return false;
    }
    const SDL_Surface* screen = SDL_GetVideoSurface();
    int width = screen->w;
    int height = screen->h;
    info.info.x11.lock_func();
    XImage* image = XGetImage(info.info.x11.display, info.info.x11.window, 0, 0, width, height,
                              AllPlanes, ZPixmap);
    info.info.x11.unlock_func();
    if (image == nullptr) {
        return false;
    }
    std::FILE* file = std::fopen(path, "wb");
    if (file != nullptr) {
        std::fprintf(file, "P6\n%d %d\n255\n", width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                unsigned long pixel = XGetPixel(image, x, y);
                unsigned char rgb[3] = {
                    static_cast<unsigned char>((pixel & image->red_mask) >> 16),
                    static_cast<unsigned char>((pixel & image->green_mask) >> 8),
                    static_cast<unsigned char>(pixel & image->blue_mask)};
                std::fwrite(rgb, 1, 3, file);
            }
        }
    }
    XDestroyImage(image);
    return file != nullptr && std::fclose(file) == 0;
}

// Reports the first-frame and timing lines that every benchmark program ends with.
class FrameTimer {
public:
    FrameTimer() : m_spawnNs(SpawnNs()), m_startNs(0), m_startCpu(0.0) {}

    // Called right after the first frame was presented; the timed frames start here.
    void FirstFramePresented() {
        m_startNs = MonotonicNs();
        m_startCpu = ProcessCpuSeconds();
        Report("first_frame_ms=" + std::to_string((m_startNs - m_spawnNs) / 1e6));
    }

    void Finished(int frames) {
        long long endNs = MonotonicNs();
        double seconds = (endNs - m_startNs) / 1e9;
        double cpuMs = (ProcessCpuSeconds() - m_startCpu) * 1000.0;
        // Processor time per frame is the steadier figure on a shared machine: other
        // processes stretch the wall clock, not the work done.
        Report("frames=" + std::to_string(frames) + " seconds=" + std::to_string(seconds) +
               " fps=" + std::to_string(frames / seconds) +
               " cpu_ms_per_frame=" + std::to_string(cpuMs / frames));
    }

private:
    long long m_spawnNs;
    long long m_startNs;
    double m_startCpu;
};

}  // namespace bench
