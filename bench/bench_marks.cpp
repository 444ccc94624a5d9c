// bench_marks: runs the sprite mark at each sprite count and the text mark, engine and plain
// OpenGL reference alternating round by round, one process each, and prints frame rates,
// processor time per frame, the engine/reference ratios and their medians against the targets.
// Usage: bench_marks --engine PATH --reference PATH [--counts "1000 10000 50000"]
//                    [--frames N] [--rounds R] [--logs DIR]
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchRunner.h"

namespace {

// Targets: the engine's frame rate as a share of the reference's.
const double kSpriteTarget = 1.0;
const double kTextTarget = 1.2;

struct Mark {
    std::string label;
    std::vector<std::string> args;
    double target;
    std::vector<double> engineFps, referenceFps, engineCpu, referenceCpu, ratios;
};

}  // namespace

int main(int argc, char** argv) {
    bench::RunnerOptions options;
    options.counts = "1000 10000 50000";
    if (!bench::ParseRunnerOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: bench_marks --engine PATH --reference PATH [--counts \"N ...\"] "
                     "[--frames N] [--rounds R] [--logs DIR]\n");
        return 2;
    }
    const std::string& engine = options.engine;
    const std::string& reference = options.reference;
    const std::string& logs = options.logs;
    const int frames = options.frames;
    const int rounds = options.rounds;

    std::vector<Mark> marks;
    std::istringstream countList(options.counts);
    for (std::string count; countList >> count;) {
        marks.push_back({"sprites " + count,
                         {"--mark", "sprites", "--count", count},
                         kSpriteTarget,
                         {},
                         {},
                         {},
                         {},
                         {}});
    }
    marks.push_back({"text 60x80", {"--mark", "text"}, kTextTarget, {}, {}, {}, {}, {}});

    std::printf("Sprite and text marks: %d timed frames per run, %d rounds, 1024 x 768\n", frames,
                rounds);
    bool allOk = true;
    for (int round = 1; round <= rounds; ++round) {
        std::printf("round %d\n", round);
        for (Mark& mark : marks) {
            std::string tag = mark.label;
            std::replace(tag.begin(), tag.end(), ' ', '-');
            std::vector<std::string> args = mark.args;
            args.push_back("--frames");
            args.push_back(std::to_string(frames));
            std::vector<std::string> engineArgs = args;
            engineArgs.insert(engineArgs.begin(), engine);
            std::vector<std::string> referenceArgs = args;
            referenceArgs.insert(referenceArgs.begin(), reference);
            std::string suffix = tag + "-round" + std::to_string(round) + ".log";
            bench::Run e = bench::RunOnce(engineArgs, logs + "/engine-" + suffix);
            bench::Run r = bench::RunOnce(referenceArgs, logs + "/reference-" + suffix);
            allOk = allOk && e.ok && r.ok;
            if (!e.ok || !r.ok) {
                continue;
            }
            mark.engineFps.push_back(e.fps);
            mark.referenceFps.push_back(r.fps);
            mark.engineCpu.push_back(e.cpuMsPerFrame);
            mark.referenceCpu.push_back(r.cpuMsPerFrame);
            mark.ratios.push_back(e.fps / r.fps);
            std::printf(
                "  %-14s engine %7.1f fps %7.2f CPU ms/frame   reference %7.1f fps %7.2f "
                "CPU ms/frame   ratio %.3f\n",
                mark.label.c_str(), e.fps, e.cpuMsPerFrame, r.fps, r.cpuMsPerFrame,
                mark.ratios.back());
            std::fflush(stdout);
        }
    }

    std::printf("medians over %d rounds\n", rounds);
    std::printf("  %-14s %12s %12s %14s %14s %8s %8s\n", "mark", "engine fps", "ref fps",
                "engine CPU ms", "ref CPU ms", "ratio", "target");
    for (const Mark& mark : marks) {
        double ratio = bench::Median(mark.ratios);
        std::printf("  %-14s %12.1f %12.1f %14.2f %14.2f %8.3f %5.2f %s\n", mark.label.c_str(),
                    bench::Median(mark.engineFps), bench::Median(mark.referenceFps),
                    bench::Median(mark.engineCpu), bench::Median(mark.referenceCpu), ratio,
                    mark.target, ratio >= mark.target ? "met" : "MISSED");
    }
    return allOk ? 0 : 1;
}
