// What the journal costs a move and a tick: one event line appended and flushed to the disk,
// as the game writes it while a move is shown or the clock runs. Run it on the disk the
// player's $XDG_STATE_HOME lies on (TMPDIR chooses the folder): a move's shortest pause is
// 45 ms, so anything well below a millisecond goes unnoticed.
#include "records/Journal.h"
#include "records/Statistics.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using torvella::records::Journal;

void JournalAddsAMove(benchmark::State& state)
{
    QTemporaryDir dir;
    Journal journal(dir.path(), "bench");
    journal.Open();
    journal.Begin("deal 387989222 pulse 0\n");
    for (auto _ : state)
        if (!journal.Add("move 3,3>3,4").isEmpty())
            state.SkipWithError("write failed");
}
BENCHMARK(JournalAddsAMove)->Unit(benchmark::kMicrosecond);

// A new tableau starts the journal over.
void JournalStartsAGame(benchmark::State& state)
{
    QTemporaryDir dir;
    Journal journal(dir.path(), "bench");
    journal.Open();
    for (auto _ : state)
        journal.Begin("deal 387989222 pulse 0\n");
}
BENCHMARK(JournalStartsAGame)->Unit(benchmark::kMicrosecond);

// A game that ends is one statistics line; the statistics window reads them all.
void StatisticsLoadThousandGames(benchmark::State& state)
{
    QTemporaryDir dir;
    const torvella::records::StatisticsFile file(dir.filePath(QStringLiteral("statistics")));
    torvella::records::GameEntry g;
    g.ended = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < 1000; ++i)
        file.Add(g);
    for (auto _ : state)
        benchmark::DoNotOptimize(file.Load());
}
BENCHMARK(StatisticsLoadThousandGames)->Unit(benchmark::kMillisecond);

} // namespace
