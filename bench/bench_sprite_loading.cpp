// bench_sprite_loading: whether loading sprites takes time in proportion to the sprites loaded,
// whatever their number. N sprites of one 32 x 32 picture are loaded (each registers itself
// with the texture manager when it loads), all are taken out of the registry and registered
// again, and finally destroyed. A registry that walks its entries makes registering the
// dominant, quadratic cost of loading many sprites; the target: registering all N sprites takes
// at most 5% of the time loading them took (the exit status is 1 when it is missed).
// The figures go to standard error, below the loaders' lines on standard output.
// Usage: bench_sprite_loading [--count N] > /dev/null   (default 100000; run under Xvfb)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchApp.h"
#include "bench/BenchMarks.h"
#include "bench/BenchSupport.h"
#include "core/CApp.h"
#include "core/CEngine.h"
#include "textures/CSprite.h"
#include "textures/CTextureManager.h"

namespace {

bool g_targetMet = false;

// Runs step for 0 .. count - 1 and returns the seconds each tenth of them took.
std::vector<double> TimeTenths(int count, const std::function<void(int)>& step) {
    const int tenth = count / 10 > 0 ? count / 10 : 1;
    std::vector<double> tenths;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        step(i);
        if ((i + 1) % tenth == 0) {
            auto now = std::chrono::steady_clock::now();
            tenths.push_back(std::chrono::duration<double>(now - start).count());
            start = now;
        }
    }
    return tenths;
}

double Sum(const std::vector<double>& values) {
    double sum = 0.0;
    for (double value : values) {
        sum += value;
    }
    return sum;
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
        std::vector<double> loading = TimeTenths(
            m_count, [this](int) { m_sprites.push_back(new CSprite(bench::kMarkSprite)); });
        std::vector<double> unregistering =
            TimeTenths(m_count, [this](int i) { g_pTextureManager->Unregister(m_sprites[i]); });
        std::vector<double> registering =
            TimeTenths(m_count, [this](int i) { g_pTextureManager->AddTexture(m_sprites[i]); });
        std::vector<double> destroying = TimeTenths(m_count, [this](int i) {
            delete m_sprites[i];
            m_sprites[i] = nullptr;
        });
        m_sprites.clear();
        double share = Sum(registering) / Sum(loading);
        g_targetMet = share <= 0.05;
        std::fprintf(stderr,
                     "%d sprites: loaded in %.2f s (first tenth %.3f s, last %.3f s), destroyed "
                     "in %.3f s\nregistry: all unregistered in %.1f ms, registered again in %.1f "
                     "ms (%.2f us per sprite; first tenth %.2f ms, last %.2f ms), %.1f%% of the "
                     "loading time (target <= 5%%: %s)\n",
                     m_count, Sum(loading), loading.front(), loading.back(), Sum(destroying),
                     Sum(unregistering) * 1e3, Sum(registering) * 1e3,
                     Sum(registering) * 1e6 / m_count, registering.front() * 1e3,
                     registering.back() * 1e3, share * 100.0, g_targetMet ? "met" : "missed");
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
