// Deal numbers and the statistics window as a player uses them: copy the number, deal by
// number (with the give-up question while a game runs), the command line's --deal and
// --daily, and the figures, chart and reset of the statistics.
#include "test_mainform_support.h"

#include "common/FreshConfig.h"
#include "core/Deal.h"
#include "records/DealNumber.h"
#include "records/Folders.h"
#include "records/Statistics.h"
#include "ui/DealNumberDlg.h"
#include "ui/GameRecords.h"
#include "ui/StatisticsDlg.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace torvella {
namespace {

using testing::Click;

Tableau Dealt(uint32_t number)
{
    Tableau t;
    Random rng(number);
    DealTableau(t, rng);
    return t;
}

class RecordsWindows : public ::testing::Test {
protected:
    void SetUp() override { settings::IniCtrl().WriteInteger(QStringLiteral("common"), QStringLiteral("tongue"), 0); }

    testing::FreshConfig cfg;
    testing::ErrorRecorder recorder;
    testing::DialogScript script;
};

TEST_F(RecordsWindows, ACopiedNumberDealsTheSameTableauAgain)
{
    testing::ProgramWindows run;
    ui::MainForm& m = run.Main();
    const Tableau first = m.GameState().Position();
    QTest::keyClick(&m, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied, QString::number(m.GameState().DealSeed()));
    m.StartBtnClick();
    ASSERT_NE(m.GameState().Position(), first);

    // Ctrl+G offers the number on the clipboard; OK deals it.
    script.Expect("DealNumberDlg", Click("OkBtn"));
    QTest::keyClick(&m, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(m.GameState().Position(), first);
    EXPECT_EQ(m.GameState().DealSeed(), copied.toUInt());
    EXPECT_TRUE(script.Unexpected().isEmpty()) << testing::Join(script.Unexpected());
}

TEST_F(RecordsWindows, ANumberTypedWhileAGameRunsDealsOnlyAfterTheQuestion)
{
    testing::ProgramWindows run;
    ui::MainForm& m = run.Main();
    const auto type = [](const char* text) {
        return [text](QWidget* dlg) {
            auto* field = dlg->findChild<QLineEdit*>(QStringLiteral("number"));
            field->selectAll();
            QTest::keyClicks(field, QString::fromLatin1(text));
            QTest::keyClick(field, Qt::Key_Return);
            // No number: the dialog stays and says so; a number then closes it.
            if (dlg->isVisible()) {
                field->setText(QStringLiteral("#1 234 567"));
                QTest::keyClick(field, Qt::Key_Return);
            }
        };
    };
    for (Answer answer : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(int(answer));
        GameProbe::SetPhase(m.GameState(), GamePhase::Playing);
        const Tableau before = m.GameState().Position();
        const uint32_t generator = m.GameState().GeneratorState();
        script.Expect("DealNumberDlg", type("not a number"));
        script.Expect("YesNoDlg", Click(answer == Answer::Yes ? "YesBtn" : "NoBtn"));
        m.Records().AskDealNumber();
        if (answer == Answer::No) {
            EXPECT_EQ(m.GameState().Position(), before);
            EXPECT_EQ(m.GameState().Phase(), GamePhase::Playing);
            EXPECT_EQ(m.GameState().GeneratorState(), generator);
        } else {
            EXPECT_EQ(m.GameState().Position(), Dealt(1234567));
            EXPECT_EQ(m.GameState().DealSeed(), 1234567u);
            EXPECT_EQ(m.GameState().Phase(), GamePhase::Dealt);
        }
    }
    EXPECT_TRUE(script.Unexpected().isEmpty()) << testing::Join(script.Unexpected());
}

TEST(StartDeal, TheCommandLineNamesTheFirstTableau)
{
    const struct {
        QStringList args;
        std::optional<uint32_t> number;
        bool error;
    } cases[] = {
        {{"torvella"}, std::nullopt, false},
        {{"torvella", "--deal", "42"}, 42u, false},
        {{"torvella", "--deal=4294967295"}, 4294967295u, false},
        {{"torvella", "-debug", "--daily"}, records::DailyDealNumber(QDate::currentDate()), false},
        {{"torvella", "--deal", "x"}, std::nullopt, true},
        {{"torvella", "--deal"}, std::nullopt, true},
    };
    for (const auto& c : cases) {
        const ui::StartDeal start = ui::StartDealFromArguments(c.args);
        EXPECT_EQ(start.number, c.number) << c.args.join(' ').toStdString();
        EXPECT_EQ(!start.error.isEmpty(), c.error) << c.args.join(' ').toStdString();
    }
}

records::GameEntry Entry(records::Result r, int32_t score, uint32_t deal)
{
    records::GameEntry g;
    g.ended = QDateTime(QDate(2026, 12, 9), QTime(18, 30), Qt::UTC);
    g.deal = deal;
    g.result = r;
    g.score = score;
    g.seconds = 125;
    g.moves = 47;
    return g;
}

TEST_F(RecordsWindows, TheStatisticsShowTheFiguresAndForgetThemOnlyWhenTheAnswerIsYes)
{
    using R = records::Result;
    const records::StatisticsFile file(records::DataFolder() + QStringLiteral("/statistics"));
    for (const auto& g : {Entry(R::Solved, 812, 7), Entry(R::DeadEnd, -35, 9), Entry(R::Solved, 640, 7),
                          Entry(R::GivenUp, 13, 3)})
        ASSERT_EQ(file.Add(g), QString());
    testing::ProgramWindows run;
    ui::MainForm& m = run.Main();

    QString figures;
    const auto look = [&](QWidget* dlg) {
        auto* stats = static_cast<ui::StatisticsDlg*>(dlg);
        figures = stats->FiguresText();
        EXPECT_EQ(stats->Chart()->Shown().size(), 4);
        const QString list = stats->GameList()->toPlainText();
        EXPECT_TRUE(list.contains(QStringLiteral("dead end"))) << list.toStdString();
        EXPECT_TRUE(list.contains(QStringLiteral("Best score per deal"))) << list.toStdString();
    };
    script.Expect("StatisticsDlg", [&](QWidget* dlg) {
        look(dlg);
        QTest::mouseClick(dlg->findChild<QAbstractButton*>(QStringLiteral("ResetBtn")), Qt::LeftButton);
        QTest::keyClick(dlg, Qt::Key_N);  // the question: No
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    QTest::keyClick(&m, Qt::Key_T, Qt::ControlModifier);
    for (const char* line : {"Played 4", "Solved 2", "Dead ends 1", "Given up 1", "Solved share 50.0 %",
                             "Best score 812", "Average score 357.5", "Best streak 1", "Current streak 0",
                             "Total time 0:08:20"})
        EXPECT_TRUE(figures.contains(QString::fromLatin1(line))) << line << "\n" << figures.toStdString();
    EXPECT_EQ(file.Load().games.size(), 4);

    // From the high-score list, in German, and this time Yes. (The script acts from a timer
    // that does not fire inside its own action: the link is followed from the list's loop.)
    m.Settings().Tongue = 1;
    QPointer<QDialog> list;
    script.Expect("HighscoreDlg", [&list](QWidget* dlg) {
        list = qobject_cast<QDialog*>(dlg);
        auto* link = dlg->findChild<QLabel*>(QStringLiteral("StatisticsLink"));
        ASSERT_TRUE(link && link->isVisible());
        EXPECT_TRUE(link->text().contains(QStringLiteral("Statistik")));
        QTimer::singleShot(0, link, [link] { emit link->linkActivated(QStringLiteral("#")); });
    });
    script.Expect("StatisticsDlg", [&](QWidget* dlg) {
        QTest::mouseClick(dlg->findChild<QAbstractButton*>(QStringLiteral("ResetBtn")), Qt::LeftButton);
        QTest::keyClick(dlg, Qt::Key_J);
        figures = static_cast<ui::StatisticsDlg*>(dlg)->FiguresText();
        QTest::keyClick(dlg, Qt::Key_Escape);
        QTimer::singleShot(0, list, [&list] { list->reject(); });
    });
    m.HighScoreBtnClick();
    EXPECT_TRUE(figures.contains(QStringLiteral("Gespielt 0"))) << figures.toStdString();
    EXPECT_TRUE(file.Load().games.isEmpty());
    EXPECT_TRUE(script.Unexpected().isEmpty()) << testing::Join(script.Unexpected());
    EXPECT_TRUE(recorder.errors.isEmpty()) << testing::Join(recorder.errors);
}

} // namespace
} // namespace torvella
