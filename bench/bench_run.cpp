// bench_run: runs the frame benchmark's programs in alternating rounds (engine, GLSL reference,
// fixed-function reference, and the engine again with file watching on), one process each, and
// prints frame rates, the engine/reference ratios with their medians, what watching costs, the time
// from spawning a process to its first presented frame and each process's peak resident memory.
// Usage: bench_run --engine PATH --reference PATH [--frames N] [--rounds R] [--logs DIR]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchRunner.h"

namespace {

using bench::Median;
using bench::Run;
using bench::RunOnce;

// Targets: the engine keeps at least this share of each reference's frame rate.
const double kGlslTarget = 1.05;
const double kFixedTarget = 1.0;
// Watching files for changes keeps at least this share of the engine's frame rate.
const double kWatchTarget = 0.98;

struct Program {
    std::string label;
    std::vector<std::string> argv;
    std::vector<Run> runs;
};

const char* Verdict(bool met) {
    return met ? "met" : "MISSED";
}

}  // namespace

int main(int argc, char** argv) {
    bench::RunnerOptions options;
    options.frames = 300;
    options.rounds = 3;
    if (!bench::ParseRunnerOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: bench_run --engine PATH --reference PATH [--frames N] "
                     "[--rounds R] [--logs DIR]\n");
        return 2;
    }
    const std::string& engine = options.engine;
    const std::string& reference = options.reference;
    const std::string& logs = options.logs;
    const int frames = options.frames;
    const int rounds = options.rounds;
    std::string frameArg = std::to_string(frames);
    std::vector<Program> programs = {
        {"engine", {engine, "--frames", frameArg}, {}},
        {"reference GLSL", {reference, "--frames", frameArg, "--mode", "glsl"}, {}},
        {"reference fixed", {reference, "--frames", frameArg, "--mode", "fixed"}, {}},
        {"engine watching", {engine, "--frames", frameArg, "--watch"}, {}},
    };

    std::printf("Frame benchmark: %d timed frames per run, %d rounds, 1024 x 768\n", frames,
                rounds);
    std::vector<double> glslRatios;
    std::vector<double> fixedRatios;
    std::vector<double> watchRatios;
    std::vector<double> watchCpuRatios;
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
        const Run& w = programs[3].runs.back();
        if (e.ok && w.ok) {
            watchRatios.push_back(w.fps / e.fps);
            watchCpuRatios.push_back(e.cpuMsPerFrame / w.cpuMsPerFrame);
            std::printf(
                "  frame rate ratio watching/engine %.3f   (CPU time ratio engine/watching "
                "%.3f)\n",
                watchRatios.back(), watchCpuRatios.back());
        }
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
    if (!watchRatios.empty()) {
        double watch = Median(watchRatios);
        std::printf("  ratio watching/engine %.3f (target >= %.2f: %s; CPU time ratio %.3f)\n",
                    watch, kWatchTarget, Verdict(watch >= kWatchTarget), Median(watchCpuRatios));
    }
    return allOk ? 0 : 1;
}
