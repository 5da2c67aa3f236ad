// The game as a player's desktop has it: its own process on an X server with a window
// manager that frames, places and closes windows. A bare X server hides the faults these
// catch: a placement that drifts by the frame on every start, a close that the game never
// hears, signals that a library swallows, help windows that keep the process alive.
#include "Desktop.h"

#include "common/FreshConfig.h"

#include <QFile>
#include <QSettings>
#include <QThread>
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <fstream>

// Rectangles in failure messages as x,y widthxheight.
inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

namespace torvella {
namespace {

using testing::Desktop;
using testing::GameProcess;

const QString kTitle = QStringLiteral("Torvella V");

class OnDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!desktop.Ok())
            GTEST_SKIP() << desktop.Why().toStdString();
    }

    // The store before a start: a chosen language (no first-show question) and the
    // lines given.
    void Store(const std::string& lines)
    {
        std::filesystem::create_directories(cfg.storeFile().parent_path());
        std::ofstream(cfg.storeFile()) << "[common]\ntongue=0\n" << lines;
    }
    QString Stored(const char* key)
    {
        QSettings s(QString::fromStdString(cfg.storeFile().string()), QSettings::IniFormat);
        return s.value(QStringLiteral("common/") + QString::fromLatin1(key), QStringLiteral("(none)")).toString();
    }
    static QRect StoredRect(const QString& placement)
    {
        const QStringList v = placement.split(u',');
        if (v.size() != 7)
            return {};
        return QRect(QPoint(v[3].toInt(), v[4].toInt()), QPoint(v[5].toInt() - 1, v[6].toInt() - 1));
    }
    // Ends a game by SIGTERM and waits for the process; a hang fails the test.
    static void Terminate(GameProcess& game)
    {
        game.Signal(SIGTERM);
        ASSERT_TRUE(game.WaitForEnd(5000)) << "the game did not end on SIGTERM";
        EXPECT_FALSE(game.Crashed());
    }

    Desktop desktop;
    testing::FreshConfig cfg;
};

TEST_F(OnDesktop, PlacementRoundTripsExactlyThroughFiveStartsAndCloses)
{
    Store("");
    QString first;
    QRect firstOuter;
    for (int run = 1; run <= 5; ++run) {
        SCOPED_TRACE(run);
        GameProcess game(desktop, cfg.dir());
        const unsigned long w = desktop.WaitForWindow(kTitle);
        ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
        const QRect outer = desktop.SettledOuterRect(w);
        Terminate(game);
        const QString stored = Stored("MainForm");
        EXPECT_EQ(StoredRect(stored), outer) << "the stored rectangle is the outer one on the screen: "
                                             << stored.toStdString();
        if (run == 1) {
            first = stored;
            firstOuter = outer;
            // Centred for its designed size, then widened to the minimum outer width.
            EXPECT_EQ(outer.width(), 750);
            EXPECT_GE(outer.height(), 480);
            continue;
        }
        EXPECT_EQ(stored, first);
        EXPECT_EQ(outer, firstOuter);
    }
}

TEST_F(OnDesktop, ClosedWhileMaximisedKeepsTheNormalRectangleThroughFiveRuns)
{
    // The frame of a maximised window differs from the normal one (openbox drops its
    // border); the rectangle stored is the one the window comes back to.
    const QRect normal(140, 90, 820, 560);
    Store("MainForm=\"200,0,1,140,90,960,650\"\n");
    QSize client;
    for (int run = 1; run <= 5; ++run) {
        SCOPED_TRACE(run);
        GameProcess game(desktop, cfg.dir());
        const unsigned long w = desktop.WaitForWindow(kTitle);
        ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
        EXPECT_EQ(desktop.SettledOuterRect(w), normal) << "opens exactly where it was before the maximising";
        if (run == 1)
            client = desktop.ClientSize(w);
        EXPECT_EQ(desktop.ClientSize(w).height(), client.height()) << "never shrinks";
        EXPECT_EQ(desktop.ClientSize(w).width(), client.width());
        desktop.Maximize(w);
        for (int i = 0; i < 250 && desktop.OuterRect(w).size() != QSize(1280, 1024); ++i)
            QThread::msleep(20);
        ASSERT_EQ(desktop.SettledOuterRect(w).size(), QSize(1280, 1024)) << "not maximised";
        Terminate(game);
        EXPECT_EQ(Stored("MainForm").toStdString(), "200,0,3,140,90,960,650");
    }
}

TEST_F(OnDesktop, AWindowMovedAndSizedByThePlayerReopensThereAndTheMinimumIsOnTheOuterSize)
{
    Store("");
    {
        GameProcess game(desktop, cfg.dir());
        const unsigned long w = desktop.WaitForWindow(kTitle);
        ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
        desktop.SettledOuterRect(w);
        desktop.MoveResizeOuter(w, QRect(100, 50, 800, 600));
        ASSERT_EQ(desktop.SettledOuterRect(w), QRect(100, 50, 800, 600));
        Terminate(game);
    }
    EXPECT_EQ(Stored("MainForm"), "200,0,1,100,50,900,650");
    struct Case {
        const char* stored;
        QRect outer;
    };
    for (const Case& c : {Case{"200,0,1,100,50,900,650", QRect(100, 50, 800, 600)},
                          // 600 by 400 stored: raised to 750 by 480 outside, not inside.
                          Case{"200,0,1,100,50,700,450", QRect(100, 50, 750, 480)}}) {
        SCOPED_TRACE(c.stored);
        Store(std::string("MainForm=\"") + c.stored + "\"\n");
        GameProcess game(desktop, cfg.dir());
        const unsigned long w = desktop.WaitForWindow(kTitle);
        ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
        EXPECT_EQ(desktop.SettledOuterRect(w), c.outer);
        // The player cannot drag it smaller than the minimum either.
        desktop.MoveResizeOuter(w, QRect(100, 50, 600, 400));
        EXPECT_EQ(desktop.SettledOuterRect(w), QRect(100, 50, 750, 480));
        Terminate(game);
    }
}

TEST_F(OnDesktop, TheWindowManagersCloseAsksAndYesEndsTheGameWithEverythingWritten)
{
    Store("backmode=3\n");
    GameProcess game(desktop, cfg.dir());
    const unsigned long w = desktop.WaitForWindow(kTitle);
    ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
    desktop.SettledOuterRect(w);
    desktop.CloseByWindowManager(w);
    const unsigned long question = desktop.WaitForOtherWindow({w});
    ASSERT_NE(question, 0u) << "the close question did not come";
    EXPECT_FALSE(game.WaitForEnd(300)) << "the game ended without asking";
    desktop.Key(question, "y");
    ASSERT_TRUE(game.WaitForEnd(5000)) << "Yes did not end the game";
    EXPECT_EQ(game.ExitCode(), 0);
    EXPECT_EQ(Stored("backmode"), "3");
    EXPECT_EQ(Stored("sound"), "1");
    EXPECT_TRUE(Stored("MainForm").startsWith("200,"));
}

TEST_F(OnDesktop, QuitSignalsEndTheGameWithoutAQuestionAndWriteEverything)
{
    // Each signal at a quiet moment, and SIGTERM while the close question and while the
    // first-show language question wait for an answer.
    enum class While { Idle, CloseQuestion, LanguageQuestion };
    struct Case {
        int signal;
        While when;
    };
    for (const Case& c : {Case{SIGTERM, While::Idle}, Case{SIGINT, While::Idle}, Case{SIGHUP, While::Idle},
                          Case{SIGTERM, While::CloseQuestion}, Case{SIGTERM, While::LanguageQuestion}}) {
        SCOPED_TRACE(::testing::Message() << "signal " << c.signal << ", case " << int(c.when));
        std::filesystem::remove(cfg.storeFile());
        if (c.when != While::LanguageQuestion)
            Store("");
        GameProcess game(desktop, cfg.dir());
        const unsigned long w = desktop.WaitForWindow(kTitle);
        ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
        desktop.SettledOuterRect(w);
        if (c.when == While::CloseQuestion)
            desktop.CloseByWindowManager(w);
        if (c.when != While::Idle) {
            ASSERT_NE(desktop.WaitForOtherWindow({w}), 0u) << "the question did not come";
        }
        game.Signal(c.signal);
        ASSERT_TRUE(game.WaitForEnd(5000)) << "the game did not end";
        EXPECT_FALSE(game.Crashed()) << "ended by the signal's default action, nothing written";
        EXPECT_EQ(game.ExitCode(), 0);
        EXPECT_EQ(Stored("tongue"), c.when == While::LanguageQuestion ? "-1" : "0");
        EXPECT_EQ(Stored("music"), "1");
        EXPECT_TRUE(Stored("MainForm").startsWith("200,"));
    }
}

TEST_F(OnDesktop, ClosingWithTheHelpWindowOpenEndsTheProcessAndClosesHelp)
{
    Store("");
    GameProcess game(desktop, cfg.dir());
    const unsigned long w = desktop.WaitForWindow(kTitle);
    ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
    const QRect outer = desktop.SettledOuterRect(w);
    // The rules button, second from the right in the tool bar.
    desktop.Click(w, desktop.ClientSize(w).width() - 104 + 25, 29);
    const unsigned long help = desktop.WaitForOtherWindow({w});
    ASSERT_NE(help, 0u) << "no help window";
    desktop.CloseByWindowManager(w);
    const unsigned long question = desktop.WaitForOtherWindow({w, help});
    ASSERT_NE(question, 0u);
    desktop.Key(question, "y");
    ASSERT_TRUE(game.WaitForEnd(5000)) << "the help window kept the game alive";
    EXPECT_TRUE(desktop.FramedWindows().empty());
    EXPECT_EQ(StoredRect(Stored("MainForm")), outer);
}

// A first start: the opening animation has ended before the language question comes (no
// outline crosses it), and nothing of Qt Help or Qt Sql is mapped for a game that has not
// asked for its rules.
TEST_F(OnDesktop, FirstStartAsksAfterTheAnimationAndMapsNoHelpLibrary)
{
    const std::filesystem::path report = cfg.dir() / "animation.txt";
    GameProcess game(desktop, cfg.dir(), {}, {QStringLiteral("TORVELLA_EXPLODE_REPORT=") + QString::fromStdString(report.string())});
    const unsigned long w = desktop.WaitForWindow(kTitle);
    ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
    QFile maps(QStringLiteral("/proc/%1/maps").arg(game.Pid()));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QString mapped = QString::fromLocal8Bit(maps.readAll());
    EXPECT_FALSE(mapped.contains(QStringLiteral("libQt6Help")));
    EXPECT_FALSE(mapped.contains(QStringLiteral("libQt6Sql")));

    const unsigned long question = desktop.WaitForOtherWindow({w}, 15000);
    ASSERT_NE(question, 0u) << "the language question did not come";
    std::ifstream in(report);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line.rfind("steps 80 ", 0), 0u) << "the question came before the animation had ended: '" << line << "'";
    Terminate(game);
}

// The rules open beside the game window (or over it when there is no room), never at the
// screen's corner over it, and Escape closes them.
TEST_F(OnDesktop, HelpOpensBesideTheGameAndClosesOnEscape)
{
    Store("");
    GameProcess game(desktop, cfg.dir());
    const unsigned long w = desktop.WaitForWindow(kTitle);
    ASSERT_NE(w, 0u) << "no game window: " << game.Output().toStdString();
    const QRect outer = desktop.SettledOuterRect(w);
    desktop.Click(w, desktop.ClientSize(w).width() - 104 + 25, 29);
    const unsigned long help = desktop.WaitForOtherWindow({w});
    ASSERT_NE(help, 0u) << "no help window";
    const QRect helpOuter = desktop.SettledOuterRect(help);
    const bool beside = helpOuter.left() == outer.right() + 1 || helpOuter.right() + 1 == outer.left();
    const bool centred = std::abs(helpOuter.center().x() - outer.center().x()) <= 1;
    EXPECT_TRUE(beside || centred) << "game " << outer.x() << ',' << outer.y() << ", help " << helpOuter.x() << ','
                                   << helpOuter.y();
    desktop.Key(help, "Escape");
    for (int i = 0; i < 50 && desktop.FramedWindows().size() > 1; ++i)
        QThread::msleep(100);
    EXPECT_EQ(desktop.FramedWindows(), std::vector<unsigned long>{w}) << "Escape did not close the help window";
    Terminate(game);
}

} // namespace
} // namespace torvella
