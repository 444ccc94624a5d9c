// bench_sprite_loading: how loading and destroying N sprites scales with N. Every sprite
// registers itself with the texture manager when it loads and leaves it when destroyed; that
// must cost the same for the last sprite as for the first, so loading takes time in proportion
// to the pixels loaded. The target: the last tenth of the sprites loads and is destroyed in at
// most 1.5 times the time of the first tenth (the exit status is 1 when it is missed). The
// figures go to standard error, below the loaders' lines on standard output.
// Usage: bench_sprite_loading [--count N] > /dev/null   (default 100000; run under Xvfb)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchApp.h"
#include "bench/BenchMarks.h"
#include "bench/BenchSupport.h"
#include "core/CApp.h"
#include "core/CEngine.h"
#include "textures/CSprite.h"

namespace {

bool g_targetMet = false;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

class LoadingApp : public CApp {
public:
    explicit LoadingApp(int count) : m_count(count) {}
    ~LoadingApp() override {
        for (CSprite* sprite : m_sprites) {
            delete sprite;
        }
    }

    void Init() override {
        m_pEngine->SetVideoMode(bench::kMarkWidth, bench::kMarkHeight, 16, false, true);
    }

    void MainLoop() override {
        const int tenth = m_count / 10 > 0 ? m_count / 10 : 1;
        std::vector<double> loading;
        auto start = std::chrono::steady_clock::now();
        auto all = start;
        for (int i = 0; i < m_count; ++i) {
            m_sprites.push_back(new CSprite(bench::kMarkSprite));
            if ((i + 1) % tenth == 0) {
                loading.push_back(Seconds(start));
                start = std::chrono::steady_clock::now();
            }
        }
        double loadSeconds = Seconds(all);
        std::vector<double> destroying;
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < m_count; ++i) {
            delete m_sprites[i];
            m_sprites[i] = nullptr;
            if ((i + 1) % tenth == 0) {
                destroying.push_back(Seconds(start));
                start = std::chrono::steady_clock::now();
            }
        }
        m_sprites.clear();
        double ratio = (loading.back() + destroying.back()) / (loading[0] + destroying[0]);
        std::fprintf(stderr,
                     "%d sprites: loaded in %.2f s; first tenth %.3f s + %.3f s destroyed, last "
                     "tenth %.3f s + %.3f s, ratio %.2f (target <= 1.5: %s)\n",
                     m_count, loadSeconds, loading[0], destroying[0], loading.back(),
                     destroying.back(), ratio, ratio <= 1.5 ? "met" : "missed");
        g_targetMet = ratio <= 1.5;
    }

    void Shutdown() override {}
    void Reserved1() override {}
    void Reserved2() override {}

private:
    int m_count;
    std::vector<CSprite*> m_sprites;
};

}  // namespace

int main(int argc, char** argv) {
    int count = std::atoi(bench::ParseOption(argc, argv, "--count", "100000"));
    int status = bench::RunBenchApp([&]() { return std::make_unique<LoadingApp>(count); });
    return status == 0 && g_targetMet ? 0 : 1;
}
