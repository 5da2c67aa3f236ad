// The statistics: the figures from a series of games, and a file that survives hand edits,
// two copies writing at once and a full disk.
#include "records/Statistics.h"
#include "RecordsFixture.h"
#include "common/SmallDisk.h"

#include <sys/wait.h>
#include <unistd.h>

namespace torvella::records {
namespace {

GameEntry Game(Result r, int32_t score, int64_t seconds = 60, uint32_t deal = 1)
{
    GameEntry g;
    g.ended = QDateTime(QDate(2026, 12, 10), QTime(20, 15), Qt::UTC);
    g.deal = deal;
    g.result = r;
    g.score = score;
    g.seconds = seconds;
    g.moves = 40;
    g.hints = 1;
    return g;
}

TEST(StatisticsFigures, ASeriesOfGamesGivesItsFigures)
{
    using R = Result;
    const QList<GameEntry> games{Game(R::Solved, 500, 100, 7), Game(R::Solved, 300, 200, 8), Game(R::DeadEnd, -20, 50, 7),
                                 Game(R::Solved, 400, 10, 9),  Game(R::Solved, 450, 20, 7), Game(R::Solved, 100, 20, 9),
                                 Game(R::GivenUp, 0, 5, 10),   Game(R::Solved, 250, 30, 11)};
    const Figures f = Summarise(games);
    EXPECT_EQ(f.played, 8);
    EXPECT_EQ(f.solved, 6);
    EXPECT_EQ(f.deadEnds, 1);
    EXPECT_EQ(f.givenUp, 1);
    EXPECT_DOUBLE_EQ(f.solvedShare, 0.75);
    EXPECT_EQ(f.best, 500);
    EXPECT_DOUBLE_EQ(f.average, (500 + 300 - 20 + 400 + 450 + 100 + 0 + 250) / 8.0);
    EXPECT_EQ(f.bestStreak, 3);
    EXPECT_EQ(f.currentStreak, 1);
    EXPECT_EQ(f.totalSeconds, 435);
    EXPECT_EQ(RepeatedDeals(games), (QList<DealBest>{{7, 3, 500}, {9, 2, 400}}));

    const Figures none = Summarise({});
    EXPECT_EQ(none.played, 0);
    EXPECT_FALSE(none.best.has_value());
    EXPECT_EQ(none.solvedShare, 0);
}

TEST(StatisticsLines, AGameReadsBackAsItWasAndNoOtherLineReadsAsAGame)
{
    for (const GameEntry& g : {Game(Result::Solved, 512), Game(Result::DeadEnd, -2147483647 - 1, 0, 4294967295u),
                               Game(Result::GivenUp, 0, 86400)})
        EXPECT_EQ(ParseEntry(EntryLine(g)), g) << EntryLine(g).constData();
    EXPECT_EQ(EntryLine(Game(Result::Solved, 540, 312, 123456)), "2026-12-10T20:15:00Z 123456 solved 540 312 40 1");
    for (const char* bad : {"", "2026-12-10T20:15:00Z 1 solved 5 3 4", "2026-13-10T20:15:00Z 1 solved 5 3 4 0",
                            "2026-12-10T20:15:00Z 4294967296 solved 5 3 4 0", "2026-12-10T20:15:00Z 1 won 5 3 4 0",
                            "2026-12-10T20:15:00Z 1 solved 5 -3 4 0", "2026-12-10T20:15:00Z 1 solved 5x 3 4 0",
                            "2026-12-10T20:15:00Z 1 solved 5 3 4 0 extra"})
        EXPECT_FALSE(ParseEntry(bad).has_value()) << bad;
}

using StatisticsFiles = testing::RecordsFolder;

TEST_F(StatisticsFiles, GamesAddUpAndAResetForgetsThem)
{
    const StatisticsFile file(Path("deep/folder/statistics"));
    EXPECT_TRUE(file.Load().games.isEmpty());
    ASSERT_EQ(file.Add(Game(Result::Solved, 10)), QString());
    ASSERT_EQ(file.Add(Game(Result::DeadEnd, 20)), QString());
    const auto loaded = file.Load();
    EXPECT_EQ(loaded.games, (QList<GameEntry>{Game(Result::Solved, 10), Game(Result::DeadEnd, 20)}));
    EXPECT_EQ(loaded.unreadable, 0);
    ASSERT_EQ(file.Reset(), QString());
    EXPECT_TRUE(file.Load().games.isEmpty());
    ASSERT_EQ(file.Add(Game(Result::GivenUp, 30)), QString());
    EXPECT_EQ(file.Load().games.size(), 1);
}

TEST_F(StatisticsFiles, AHandEditKeepsTheReadableGamesAndSetsTheRestAsideOnce)
{
    const StatisticsFile file(Path("statistics"));
    const QByteArray edited = "torvella-statistics 1\n" + EntryLine(Game(Result::Solved, 10)) +
                              "\nI was here\n\n" + EntryLine(Game(Result::DeadEnd, 20)) + "\nhalf a li";
    Put(file.Path(), edited);
    const auto first = file.Load();
    EXPECT_EQ(first.games.size(), 2);
    EXPECT_EQ(first.unreadable, 1);
    EXPECT_EQ(Bytes(first.setAside), edited);
    const auto again = file.Load();
    EXPECT_EQ(again.games, first.games);
    EXPECT_EQ(again.unreadable, 0);
    EXPECT_TRUE(again.setAside.isEmpty());

    // A file of a later format is kept whole beside an empty list.
    Put(file.Path(), "torvella-statistics 2\nwhatever 2 means\n");
    const auto later = file.Load();
    EXPECT_TRUE(later.games.isEmpty());
    EXPECT_EQ(Bytes(later.setAside), "torvella-statistics 2\nwhatever 2 means\n");
}

TEST_F(StatisticsFiles, TwoCopiesAppendingAtOnceLoseNoGame)
{
    const StatisticsFile file(Path("statistics"));
    constexpr int kEach = 150;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            for (int i = 0; i < kEach; ++i)
                if (!file.Add(Game(Result::Solved, c * 1000 + i)).isEmpty())
                    _exit(1);
            _exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto loaded = file.Load();
    EXPECT_EQ(loaded.unreadable, 0);
    EXPECT_EQ(loaded.games.size(), 2 * kEach);
}

TEST_F(StatisticsFiles, AFullDiskKeepsTheOldFileAndSaysWhy)
{
    testing::SmallDisk disk(Folder().toStdString(), 8);
    if (!disk.Available())
        GTEST_SKIP() << disk.WhyNot();
    const StatisticsFile file(Path("statistics"));
    // One whole page (blank lines are no games), so that any line more needs a new one.
    QByteArray before = "torvella-statistics 1\n" + EntryLine(Game(Result::Solved, 10)) + '\n';
    before.append(4096 - before.size(), '\n');
    Put(file.Path(), before);
    disk.Leave(0);
    for (const QString& error : {file.Add(Game(Result::Solved, 20)), file.Reset()})
        EXPECT_TRUE(error.contains("No space left")) << error.toStdString();
    EXPECT_EQ(Bytes(file.Path()), before);
}

} // namespace
} // namespace torvella::records
