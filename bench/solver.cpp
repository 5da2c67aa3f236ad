// The solver on positions a player reaches: a fixed set of mid-game positions, each a deal
// of a random state followed by 5 to 40 random legal drops, with now and then the game's
// one-step undo or a few clock ticks in between, never a position where no cake can move
// (no hint can be asked there). The set depends on its seed alone, so every run and
// every machine measures the same positions.
//
// Per position: its verdict, the positions looked at and the processor time, each search
// stopped at CAP seconds of processor time. Then the figures: the share decided within
// 1 s, median, p99 and maximum time, peak memory of the process (the largest search's
// tables) and positions per second. Goals: at least 99 % decided within 1 s, none above
// 10 s, at most 256 MB. With --hint, each position is asked again as the game's hint asks
// (its table and its time, here in processor time), and the share it answers is printed.
// Take figures from a Release build. Times are processor time of the searching thread, so
// a busy machine does not distort them; the wall-clock total is printed beside.
//
//   bench_solver [--count N] [--seed S] [--cap SECONDS] [--from I] [--only I,J,...] [--hint] [--quiet]
//
// Each line names its position the way torvella-cli does ("solve STATE DROP..."), so a
// slow one can be looked at on its own.
#include "core/Deal.h"
#include "core/Solver.h"

#include <pthread.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace torvella;

// splitmix64: the same numbers on every platform and standard library.
class Draw {
public:
    explicit Draw(uint64_t seed) : x_(seed) {}
    uint64_t Next()
    {
        uint64_t z = (x_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

private:
    uint64_t x_;
};

struct MidGame {
    uint32_t state = 0;
    std::vector<Move> drops;  // the drops still in effect after the undos
    Tableau position;
};

std::vector<Move> LegalDrops(const Tableau& t)
{
    std::vector<Move> legal;
    for (int from = 0; from < kCells; ++from)
        for (int to = 0; to < kCells; ++to) {
            const Move m{{from / kRows, from % kRows}, {to / kRows, to % kRows}};
            if (JudgeDrop(t, m).legal)
                legal.push_back(m);
        }
    return legal;
}

// One position: deal, then random steps until so many drops were made; one step in ten
// takes the last drop back (the game keeps one), one in ten lets the clock run. A walk
// that ends where nothing can move starts over from another deal.
MidGame Walk(Draw& draw)
{
    for (;;) {
        MidGame g;
        g.state = static_cast<uint32_t>(draw.Next());
        Random rng(g.state);
        DealTableau(g.position, rng);
        const int want = 5 + draw.Below(36);
        Tableau undo;
        bool canUndo = false;
        bool stuck = false;
        for (int made = 0; made < want && !stuck;) {
            const int roll = draw.Below(10);
            if (roll == 0 && canUndo) {
                g.position = undo;
                g.drops.pop_back();
                canUndo = false;
            } else if (roll == 1) {
                g.position.Score -= draw.Below(30);  // the clock: a point a second
            } else {
                const std::vector<Move> legal = LegalDrops(g.position);
                if (legal.empty()) {
                    stuck = true;
                    break;
                }
                const Move m = legal[static_cast<size_t>(draw.Below(static_cast<int>(legal.size())))];
                undo = g.position;
                canUndo = true;
                ApplyMove(g.position, m, JudgeDrop(g.position, m));
                g.drops.push_back(m);
                ++made;
            }
        }
        if (!stuck && CountMovableCells(g.position) > 0 && !g.position.AllPlatesFull())
            return g;
    }
}

double ThreadMs(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// Sets `cancel` once the watched thread has used `capMs` of processor time.
class Watchdog {
public:
    Watchdog() : clock_(ThisThreadClock()), thread_([this] { Watch(); }) {}
    ~Watchdog()
    {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void Arm(double capMs)
    {
        std::lock_guard lock(mutex_);
        cancel.store(false);
        deadlineMs_ = ThreadMs(clock_) + capMs;
        armed_ = true;
        wake_.notify_all();
    }
    void Disarm()
    {
        std::lock_guard lock(mutex_);
        armed_ = false;
    }
    std::atomic<bool> cancel{false};

private:
    static clockid_t ThisThreadClock()
    {
        clockid_t c{};
        pthread_getcpuclockid(pthread_self(), &c);
        return c;
    }
    void Watch()
    {
        std::unique_lock lock(mutex_);
        while (!quit_) {
            if (armed_ && ThreadMs(clock_) >= deadlineMs_) {
                cancel.store(true);
                armed_ = false;
            }
            wake_.wait_for(lock, std::chrono::milliseconds(5));
        }
    }

    clockid_t clock_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool quit_ = false, armed_ = false;
    double deadlineMs_ = 0;
    std::thread thread_;
};

std::string Name(const MidGame& g)
{
    std::string s = "solve " + std::to_string(g.state);
    for (const Move& m : g.drops)
        s += ' ' + MoveText(m);
    return s;
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const size_t i = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

} // namespace

int main(int argc, char** argv)
{
    int count = 2000, from = 0;
    uint64_t seed = 26;
    double capSeconds = 10;
    bool hint = false, quiet = false;
    std::vector<int> only;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&] {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "%s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--count")
            count = std::atoi(value());
        else if (a == "--seed")
            seed = std::strtoull(value(), nullptr, 10);
        else if (a == "--cap")
            capSeconds = std::atof(value());
        else if (a == "--from")
            from = std::atoi(value());
        else if (a == "--only") {
            for (const char* p = value(); *p;) {
                char* end = nullptr;
                only.push_back(static_cast<int>(std::strtol(p, &end, 10)));
                p = *end ? end + 1 : end;
            }
        } else if (a == "--hint")
            hint = true;
        else if (a == "--quiet")
            quiet = true;
        else {
            std::fprintf(stderr, "usage: bench_solver [--count N] [--seed S] [--cap SECONDS] [--from I] [--only I,J,...] "
                                 "[--hint] [--quiet]\n");
            return 2;
        }
    }

    Draw draw(seed);
    std::vector<MidGame> set;
    for (int i = 0; i < count; ++i)
        set.push_back(Walk(draw));

    Watchdog watchdog;
    std::vector<double> times;
    uint64_t positions = 0, solvable = 0, unsolvable = 0, undecided = 0, withinSecond = 0, answered = 0;
    double totalMs = 0;
    clockid_t self{};
    pthread_getcpuclockid(pthread_self(), &self);
    const auto wallStart = std::chrono::steady_clock::now();
    if (only.empty())
        for (int i = from; i < count; ++i)
            only.push_back(i);
    for (const int i : only) {
        if (i < 0 || i >= count)
            continue;
        const MidGame& g = set[static_cast<size_t>(i)];
        SolveLimits limits;
        limits.cancel = &watchdog.cancel;
        watchdog.Arm(capSeconds * 1000);
        const double start = ThreadMs(self);
        const Solution s = Solve(g.position, limits);
        const double ms = ThreadMs(self) - start;
        watchdog.Disarm();
        times.push_back(s.cancelled ? std::max(ms, capSeconds * 1000) : ms);
        positions += s.positions;
        totalMs += ms;
        (s.cancelled ? undecided : s.solvable ? solvable : unsolvable) += 1;
        if (!s.cancelled && ms <= 1000)
            ++withinSecond;
        const char* verdict = s.cancelled ? "undecided" : s.solvable ? "solvable" : "unsolvable";
        const char* hinted = "";
        if (hint) {
            // The hint's own table and its second, counted in processor time like the rest.
            SolveLimits asked = HintLimits(&watchdog.cancel);
            asked.maxSeconds = 0;
            watchdog.Arm(HintLimits().maxSeconds * 1000);
            const Solution h = Solve(g.position, asked);
            watchdog.Disarm();
            answered += h.cancelled ? 0 : 1;
            hinted = h.cancelled ? " hint:none" : " hint:answered";
        }
        if (!quiet || ms > 1000)
            std::printf("%d %s positions %llu ms %.1f%s | %s\n", i, verdict,
                        static_cast<unsigned long long>(s.positions), ms, hinted, Name(g).c_str());
        std::fflush(stdout);
    }
    const double n = static_cast<double>(times.size());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf("set: %d positions from seed %llu, %zu measured; %llu solvable, %llu unsolvable, "
                "%llu undecided within %.0f s\n",
                count, static_cast<unsigned long long>(seed), times.size(),
                static_cast<unsigned long long>(solvable), static_cast<unsigned long long>(unsolvable),
                static_cast<unsigned long long>(undecided), capSeconds);
    std::printf("decided within 1 s: %.2f %%; time median %.1f ms, p99 %.1f ms, max %.1f ms\n",
                100.0 * static_cast<double>(withinSecond) / n, Percentile(times, 0.5), Percentile(times, 0.99),
                *std::max_element(times.begin(), times.end()));
    std::printf("peak memory %.1f MB; positions per second %.0f; processor time %.1f s, wall clock %.1f s\n",
                usage.ru_maxrss / 1024.0, totalMs > 0 ? static_cast<double>(positions) / (totalMs / 1000.0) : 0.0,
                totalMs / 1000.0, wall);
    if (hint)
        std::printf("hint answered: %.2f %%\n", 100.0 * static_cast<double>(answered) / n);
    return 0;
}
