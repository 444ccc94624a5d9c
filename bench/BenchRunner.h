// Shared by the benchmark runners: one benchmark process run with its result lines read back,
// and the median of a series.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace bench {

struct Run {
    bool ok = false;
    double fps = 0.0;
    double firstFrameMs = 0.0;
    double cpuMsPerFrame = 0.0;
    double peakRssMiB = 0.0;
};

inline long long RunnerNowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

inline double ValueAfter(const std::string& text, const char* key) {
    size_t at = text.find(key);
    return at == std::string::npos ? -1.0 : std::atof(text.c_str() + at + std::strlen(key));
}

// One process: its result lines arrive on descriptor 3 (named in BENCH_RESULT_FD), its own output
// goes to the log file.
inline Run RunOnce(const std::vector<std::string>& args, const std::string& logPath) {
    Run run;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        std::perror("pipe");
        return run;
    }
    long long spawnNs = RunnerNowNs();
    pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        if (pipeFds[1] != 3) {
            dup2(pipeFds[1], 3);
            close(pipeFds[1]);
        }
        int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            dup2(log, 1);
            dup2(log, 2);
            close(log);
        }
        setenv("BENCH_RESULT_FD", "3", 1);
        setenv("BENCH_SPAWN_NS", std::to_string(spawnNs).c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        std::perror("execv");
        _exit(127);
    }
    close(pipeFds[1]);
    if (pid < 0) {
        std::perror("fork");
        close(pipeFds[0]);
        return run;
    }
    std::string output;
    char buffer[512];
    ssize_t count;
    while ((count = read(pipeFds[0], buffer, sizeof(buffer))) > 0) {
        output.append(buffer, static_cast<size_t>(count));
    }
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakRssMiB = usage.ru_maxrss / 1024.0;
    run.firstFrameMs = ValueAfter(output, "first_frame_ms=");
    run.fps = ValueAfter(output, " fps=");
    run.cpuMsPerFrame = ValueAfter(output, "cpu_ms_per_frame=");
    run.ok =
        WIFEXITED(status) && WEXITSTATUS(status) == 0 && run.fps > 0.0 && run.firstFrameMs >= 0.0;
    if (!run.ok) {
        std::printf("  %s failed (status %d); see %s\n", args[0].c_str(), status, logPath.c_str());
    }
    return run;
}

// The runners' command line: --engine PATH --reference PATH [--frames N] [--rounds R]
// [--logs DIR] [--counts "N ..."]. The defaults come in with the struct.
struct RunnerOptions {
    std::string engine;
    std::string reference;
    std::string counts;
    std::string logs = ".";
    int frames = 100;
    int rounds = 5;
};

// Fills the options and creates the log folder; false when a program path is missing.
inline bool ParseRunnerOptions(int argc, char** argv, RunnerOptions& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        std::string value = argv[i + 1];
        if (key == "--engine") {
            options.engine = value;
        } else if (key == "--reference") {
            options.reference = value;
        } else if (key == "--counts") {
            options.counts = value;
        } else if (key == "--frames") {
            options.frames = std::max(1, std::atoi(value.c_str()));
        } else if (key == "--rounds") {
            options.rounds = std::max(1, std::atoi(value.c_str()));
        } else if (key == "--logs") {
            options.logs = value;
        }
    }
    if (options.engine.empty() || options.reference.empty()) {
        return false;
    }
    mkdir(options.logs.c_str(), 0755);
    return true;
}

}  // namespace bench
