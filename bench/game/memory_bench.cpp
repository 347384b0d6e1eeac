// Resident memory of a game with the generated data: after the first start, its peak, and the
// growth over 200 restarts (each played for a few frames first).
#include <benchmark/benchmark.h>

#include "main/game.h"
#include "main/world.h"
#include "platform/headless.h"
#include "support/gamesession.h"

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

double residentMiB() {
    long pages = 0, resident = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) {
        return 0.0;
    }
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) {
        resident = 0;
    }
    std::fclose(f);
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void RestartsMemory(benchmark::State& state) {
    const int restarts = static_cast<int>(state.range(0));
    while (state.KeepRunning()) {
        hwtest::GameSession session(hwtest::dataDir());
        session.start(1);
        session.frame();
        session.tap('1');
        session.frame();
        // A first restart settles the allocator's and driver's one-time growth.
        Game_Restart();
        session.frame();
        const double first = residentMiB();
        double afterTen = first;
        for (int i = 0; i < restarts; ++i) {
            headless::setTickCount(static_cast<uint32_t>(i + 2));
            session.tap('1');
            session.frame();
            Game_Restart();
            session.frame();
            if (i == 9) {
                afterTen = residentMiB();
            }
        }
        const double last = residentMiB();
        state.counters["rss_first_MiB"] = first;
        state.counters["rss_after_10_MiB"] = afterTen;
        state.counters["rss_last_MiB"] = last;
        state.counters["growth_MiB"] = last - first;
        state.counters["peak_MiB"] = peakMiB();
    }
}
BENCHMARK(RestartsMemory)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
