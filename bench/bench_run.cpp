// bench_run: runs the frame benchmark's programs in alternating rounds (engine, GLSL reference,
// fixed-function reference), one process each, and prints frame rates, the engine/reference
// ratios with their medians, the time from spawning a process to its first presented frame
// and each process's peak resident memory.
// Usage: bench_run --engine PATH --reference PATH [--frames N] [--rounds R] [--logs DIR]
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

namespace {

// Targets: the engine keeps at least this share of each reference's frame rate.
const double kGlslTarget = 0.95;
const double kFixedTarget = 1.0;

struct Run {
    bool ok = false;
    double fps = 0.0;
    double firstFrameMs = 0.0;
    double cpuMsPerFrame = 0.0;
    double peakRssMiB = 0.0;
};

struct Program {
    std::string label;
    std::vector<std::string> argv;
    std::vector<Run> runs;
};

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

double ValueAfter(const std::string& text, const char* key) {
    size_t at = text.find(key);
    return at == std::string::npos ? -1.0 : std::atof(text.c_str() + at + std::strlen(key));
}

// One process: its result lines arrive on descriptor 3 (named in BENCH_RESULT_FD), its own output
// goes to the log file.
Run RunOnce(const std::vector<std::string>& args, const std::string& logPath) {
    Run run;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        std::perror("pipe");
        return run;
    }
    long long spawnNs = MonotonicNs();
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

const char* Verdict(bool met) {
    return met ? "met" : "MISSED";
}

}  // namespace

int main(int argc, char** argv) {
    std::string engine;
    std::string reference;
    std::string logs = ".";
    int frames = 300;
    int rounds = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        std::string value = argv[i + 1];
        if (key == "--engine") {
            engine = value;
        } else if (key == "--reference") {
            reference = value;
        } else if (key == "--frames") {
            frames = std::max(1, std::atoi(value.c_str()));
        } else if (key == "--rounds") {
            rounds = std::max(1, std::atoi(value.c_str()));
        } else if (key == "--logs") {
            logs = value;
        }
    }
    if (engine.empty() || reference.empty()) {
        std::fprintf(stderr,
                     "usage: bench_run --engine PATH --reference PATH [--frames N] "
                     "[--rounds R] [--logs DIR]\n");
        return 2;
    }
    mkdir(logs.c_str(), 0755);
    std::string frameArg = std::to_string(frames);
    std::vector<Program> programs = {
        {"engine", {engine, "--frames", frameArg}, {}},
        {"reference GLSL", {reference, "--frames", frameArg, "--mode", "glsl"}, {}},
        {"reference fixed", {reference, "--frames", frameArg, "--mode", "fixed"}, {}},
    };

    std::printf("Frame benchmark: %d timed frames per run, %d rounds, 1024 x 768\n", frames,
                rounds);
    std::vector<double> glslRatios;
    std::vector<double> fixedRatios;
    bool allOk = true;
    for (int round = 1; round <= rounds; ++round) {
        std::printf("round %d\n", round);
        for (Program& program : programs) {
            std::string label = program.label;
            std::replace(label.begin(), label.end(), ' ', '-');
            std::string log = logs + "/" + label + "-round" + std::to_string(round) + ".log";
            Run run = RunOnce(program.argv, log);
            allOk = allOk && run.ok;
            program.runs.push_back(run);
            std::printf(
                "  %-16s %7.1f fps  %6.2f CPU ms/frame  first frame %6.1f ms  peak RSS %6.1f "
                "MiB\n",
                program.label.c_str(), run.fps, run.cpuMsPerFrame, run.firstFrameMs,
                run.peakRssMiB);
            std::fflush(stdout);
        }
        const Run& e = programs[0].runs.back();
        const Run& g = programs[1].runs.back();
        const Run& f = programs[2].runs.back();
        if (e.ok && g.ok && f.ok) {
            glslRatios.push_back(e.fps / g.fps);
            fixedRatios.push_back(e.fps / f.fps);
            std::printf(
                "  frame rate ratio engine/GLSL %.3f  engine/fixed %.3f   (CPU time ratio "
                "GLSL/engine %.3f  fixed/engine %.3f)\n",
                glslRatios.back(), fixedRatios.back(), g.cpuMsPerFrame / e.cpuMsPerFrame,
                f.cpuMsPerFrame / e.cpuMsPerFrame);
        }
    }

    std::printf("medians over %d rounds\n", rounds);
    for (const Program& program : programs) {
        std::vector<double> fps;
        std::vector<double> first;
        std::vector<double> rss;
        std::vector<double> cpu;
        for (const Run& run : program.runs) {
            if (run.ok) {
                cpu.push_back(run.cpuMsPerFrame);
                fps.push_back(run.fps);
                first.push_back(run.firstFrameMs);
                rss.push_back(run.peakRssMiB);
            }
        }
        std::printf(
            "  %-16s %7.1f fps  %6.2f CPU ms/frame  first frame %6.1f ms  peak RSS %6.1f MiB\n",
            program.label.c_str(), Median(fps), Median(cpu), Median(first), Median(rss));
    }
    if (!glslRatios.empty()) {
        double glsl = Median(glslRatios);
        double fixed = Median(fixedRatios);
        std::printf("  ratio engine/GLSL  %.3f (target >= %.2f: %s)\n", glsl, kGlslTarget,
                    Verdict(glsl >= kGlslTarget));
        std::printf("  ratio engine/fixed %.3f (target >= %.2f: %s)\n", fixed, kFixedTarget,
                    Verdict(fixed >= kFixedTarget));
    }
    return allOk ? 0 : 1;
}
