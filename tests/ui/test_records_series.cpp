// Every game that ends is counted: a scripted series of a solved game, a dead end and a
// game given up gives the statistics their figures, each game with its deal number; a
// game that did not end (the window went unasked) is not counted but journalled.
#include "test_mainform_support.h"

#include "common/FreshConfig.h"
#include "records/Folders.h"
#include "records/Statistics.h"
#include "settings/IniCtrl.h"
#include "ui/GameRecords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <gtest/gtest.h>

namespace torvella {
namespace {

using testing::Click;
using testing::Drag;
using testing::Prepare;

TEST(RecordsSeries, SolvedDeadEndAndGivenUpGamesGiveTheirFigures)
{
    testing::FreshConfig cfg;
    testing::ErrorRecorder recorder;
    testing::DialogScript script;
    settings::IniCtrl().WriteInteger(QStringLiteral("common"), QStringLiteral("tongue"), 0);
    const auto escape = [](QWidget* dlg) { QTest::keyClick(dlg, Qt::Key_Escape); };
    std::vector<uint32_t> deals;
    {
        testing::ProgramWindows run;
        ui::MainForm& m = run.Main();

        // Solved: yellow 12 is the last slice.
        deals.push_back(m.GameState().DealSeed());
        Prepare(m, {{0, 0, kMixedCake, 1}, {1, 0, 4, 12}}, {0, 12, 12, 12, 11});
        script.Expect("YesNoDlg", Click("YesBtn"));
        script.Expect("HighscoreDlg", escape);
        Drag(m, 0, 0, 1, 0);
        ASSERT_EQ(m.GameState().Phase(), GamePhase::Solved);
        const int32_t solvedScore = m.GameState().Position().Score;

        // Dead end: blue 3 goes onto its plate and red 5 is left alone.
        m.StartBtnClick();
        deals.push_back(m.GameState().DealSeed());
        Prepare(m, {{0, 0, 1, 5}, {1, 0, 3, 3}}, {0, 0, 0, 2, 0});
        script.Expect("YesNoDlg", Click("YesBtn"));
        script.Expect("HighscoreDlg", escape);
        Drag(m, 0, 0, 1, 0);
        ASSERT_EQ(m.GameState().Phase(), GamePhase::Ended);

        // Given up: one move, then a new tableau, answered Yes.
        m.StartBtnClick();
        deals.push_back(m.GameState().DealSeed());
        Prepare(m, {{0, 0, 1, 5}, {1, 0, 3, 3}, {3, 3, 2, 7}, {3, 4, 4, 9}}, {0, 0, 0, 2, 0});
        Drag(m, 0, 0, 1, 0);
        ASSERT_EQ(m.GameState().Phase(), GamePhase::Playing);
        script.Expect("YesNoDlg", Click("YesBtn"));
        m.StartBtnClick();

        const records::StatisticsFile file(records::DataFolder() + QStringLiteral("/statistics"));
        const QList<records::GameEntry> games = file.Load().games;
        ASSERT_EQ(games.size(), 3);
        using R = records::Result;
        EXPECT_EQ(games[0].result, R::Solved);
        EXPECT_EQ(games[0].score, solvedScore);
        EXPECT_EQ(games[1].result, R::DeadEnd);
        EXPECT_EQ(games[2].result, R::GivenUp);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(games[i].deal, deals[i]);
            EXPECT_EQ(games[i].moves, 1);
        }
        const records::Figures f = records::Summarise(games);
        EXPECT_EQ(f.played, 3);
        EXPECT_EQ(f.solved, 1);
        EXPECT_EQ(f.deadEnds, 1);
        EXPECT_EQ(f.givenUp, 1);
        EXPECT_EQ(f.bestStreak, 1);
        EXPECT_EQ(f.currentStreak, 0);
        EXPECT_EQ(f.best, solvedScore);

        // The window goes unasked while nothing runs: nothing is counted or kept.
        m.CloseUnasked();
        EXPECT_EQ(file.Load().games.size(), 3);
    }
    EXPECT_TRUE(QDir(records::StateFolder()).entryList({QStringLiteral("game-*.journal")}, QDir::Files).isEmpty());
    EXPECT_TRUE(script.Unexpected().isEmpty()) << testing::Join(script.Unexpected());
    EXPECT_TRUE(recorder.errors.isEmpty()) << testing::Join(recorder.errors);
}

TEST(RecordsSeries, AGameLeftRunningComesBackPausedWithItsUndoAndSaysSo)
{
    testing::FreshConfig cfg;
    testing::ErrorRecorder recorder;
    testing::DialogScript script;
    settings::IniCtrl().WriteInteger(QStringLiteral("common"), QStringLiteral("tongue"), 1);
    Tableau before;
    uint32_t deal = 0;
    {
        testing::ProgramWindows run;
        ui::MainForm& m = run.Main();
        // A real move of the real deal, found by trying the neighbours of every cake.
        bool moved = false;
        for (int c = 0; c < kCols && !moved; ++c)
            for (int r = 0; r + 1 < kRows && !moved; ++r) {
                if (m.GameState().Position().Colour(c, r) <= 0)
                    continue;
                Drag(m, c, r, c, r + 1);
                moved = m.GameState().Phase() == GamePhase::Playing;
            }
        ASSERT_TRUE(moved);
        m.GameState().TimerTicks(73);
        before = m.GameState().Position();
        deal = m.GameState().DealSeed();
        m.CloseUnasked();
    }
    QString notice;
    script.Expect("YesNoDlg", [&notice](QWidget* dlg) {
        notice = dlg->findChild<QLabel*>(QStringLiteral("txt"))->text();
        QTest::keyClick(dlg, Qt::Key_Return);
    });
    testing::ProgramWindows run;
    ui::MainForm& m = run.Main();
    QTest::qWait(100);
    ASSERT_EQ(script.Seen().size(), 1u);
    EXPECT_TRUE(notice.startsWith(QString::fromUtf8("Deine Auslage ist wieder da."))) << notice.toStdString();
    EXPECT_EQ(m.GameState().Phase(), GamePhase::Playing);
    EXPECT_EQ(m.GameState().DealSeed(), deal);
    EXPECT_EQ(m.GameState().Position(), before);
    EXPECT_TRUE(m.Btn(Button::OOps)->isEnabled());
    EXPECT_TRUE(recorder.errors.isEmpty()) << testing::Join(recorder.errors);
}

TEST(RecordsSeries, AJournalThatCannotBeReadOrWrittenIsToldOnceAndTheGameGoesOn)
{
    testing::FreshConfig cfg;
    settings::IniCtrl().WriteInteger(QStringLiteral("common"), QStringLiteral("tongue"), 0);
    const QString folder = records::StateFolder();
    const struct {
        const char* what;
        std::function<void()> prepare;
        const char* told;
    } cases[] = {
        {"garbage", [&] { QDir().mkpath(folder); QFile f(folder + "/game-1.journal"); f.open(QIODevice::WriteOnly); f.write("\x01\x02garbage\n"); },
         "The journal of the last tableau cannot be read"},
        {"a move the rules refuse", [&] { QDir().mkpath(folder); QFile f(folder + "/game-1.journal"); f.open(QIODevice::WriteOnly); f.write("torvella-journal 1 1.1\ndeal 5 pulse 0\nmove 0,0>6,6\n"); },
         "The interrupted tableau could not be brought back"},
        {"no folder can be made", [&] { QDir().mkpath(QFileInfo(folder).path()); QFile f(folder); f.open(QIODevice::WriteOnly); },
         "The journal of the running tableau cannot be written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        c.prepare();
        testing::ErrorRecorder recorder;
        testing::DialogScript script;
        {
            testing::ProgramWindows run;
            ui::MainForm& m = run.Main();
            QTest::qWait(50);
            EXPECT_EQ(m.GameState().Phase(), GamePhase::Dealt);
            // Moves and ticks go on; the player hears of the journal once.
            for (int r = 0; r + 1 < kRows && m.GameState().Phase() == GamePhase::Dealt; ++r)
                Drag(m, 0, r, 0, r + 1);
            m.GameState().TimerTicks(120);
            script.Expect("YesNoDlg", Click("YesBtn"));
            m.close();
        }
        ASSERT_EQ(recorder.errors.size(), 1) << testing::Join(recorder.errors);
        EXPECT_TRUE(recorder.errors[0].startsWith(QString::fromLatin1(c.told))) << testing::Join(recorder.errors);
        if (QFileInfo(folder).isDir()) {  // what could not be read is kept beside
            EXPECT_EQ(QDir(folder).entryList({QStringLiteral("game-1.journal.unreadable-*")}, QDir::Files).size(), 1);
        }
        EXPECT_TRUE(script.Unexpected().isEmpty()) << testing::Join(script.Unexpected());
    }
}

} // namespace
} // namespace torvella
