// The statistics file on arbitrary bytes: loading never fails, keeps every readable game,
// sets the rest aside byte for byte, and leaves a file that loads clean; the figures agree
// with the games they count.
#include "FuzzCheck.h"
#include "records/Statistics.h"

#include <QFile>
#include <QTemporaryDir>

using namespace torvella::records;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("statistics"));
    QFile::remove(path);
    QFile::remove(path + QStringLiteral(".unreadable"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const StatisticsFile file(path);
    const StatisticsFile::Loaded first = file.Load();
    FUZZ_CHECK(first.error.isEmpty());
    if (first.unreadable > 0) {
        QFile aside(first.setAside);
        FUZZ_CHECK(aside.open(QIODevice::ReadOnly) && aside.readAll() == bytes);
    }
    const StatisticsFile::Loaded again = file.Load();
    FUZZ_CHECK(again.unreadable == 0 && again.games == first.games);
    for (const GameEntry& g : first.games)
        FUZZ_CHECK(ParseEntry(EntryLine(g)) == g);

    const Figures f = Summarise(first.games);
    FUZZ_CHECK(f.played == first.games.size());
    FUZZ_CHECK(f.solved + f.deadEnds + f.givenUp == f.played);
    FUZZ_CHECK(f.currentStreak <= f.bestStreak && f.bestStreak <= f.solved);
    FUZZ_CHECK(f.solvedShare >= 0 && f.solvedShare <= 1);
    int repeatedGames = 0;
    for (const DealBest& d : RepeatedDeals(first.games)) {
        FUZZ_CHECK(d.played > 1);
        repeatedGames += d.played;
    }
    FUZZ_CHECK(repeatedGames <= f.played);
    return 0;
}
