// The solver on the deals of states FIRST to LAST (0 to 999 unless given): per state whether
// it is solvable, the positions looked at and the time; then positions per second over all
// states, the slowest state and how many stayed undecided within the limit of positions per
// state (LIMIT, 0 for none). Goals: at least 3 million positions per second on one core,
// every state decided, none slower than 1 s. Take figures from a Release build. Times are
// processor time of this process (one core), so a busy machine does not distort them;
// the wall-clock total is printed beside.
//   bench_solver [FIRST LAST [LIMIT]]
#include "core/Deal.h"
#include "core/Solver.h"

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    using namespace torvella;
    const uint32_t first = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 0;
    const uint32_t last = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 999;
    const uint64_t limit = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 20'000'000;

    uint64_t positions = 0, solvable = 0, unsolvable = 0, undecided = 0;
    double totalMs = 0, slowestMs = 0;
    const auto wallStart = std::chrono::steady_clock::now();
    auto cpuMs = [] {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
    };
    uint32_t slowest = first;
    for (uint32_t state = first; state <= last; ++state) {
        Tableau t;
        Random rng(state);
        DealTableau(t, rng);
        const double start = cpuMs();
        const Solution s = Solve(t, {nullptr, limit});
        const double ms = cpuMs() - start;
        positions += s.positions;
        totalMs += ms;
        if (ms > slowestMs) {
            slowestMs = ms;
            slowest = state;
        }
        (s.cancelled ? undecided : s.solvable ? solvable : unsolvable) += 1;
        std::printf("state %u %s positions %llu ms %.1f\n", state,
                    s.cancelled ? "undecided" : s.solvable ? "solvable" : "unsolvable",
                    static_cast<unsigned long long>(s.positions), ms);
        std::fflush(stdout);
    }
    std::printf("states %u..%u: %llu solvable, %llu unsolvable, %llu undecided (limit %llu positions)\n", first, last,
                static_cast<unsigned long long>(solvable), static_cast<unsigned long long>(unsolvable),
                static_cast<unsigned long long>(undecided), static_cast<unsigned long long>(limit));
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf("positions per second: %.0f; slowest state %u: %.1f ms; processor time %.1f s, wall clock %.1f s\n",
                totalMs > 0 ? positions / (totalMs / 1000.0) : 0.0, slowest, slowestMs, totalMs / 1000.0, wall);
    return 0;
}
