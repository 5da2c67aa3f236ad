// Ends that nobody can be asked about: a quit signal, the session's logout, the loop
// ended from outside. No question stays on the screen, the settings and the placement
// are written, and the quit signals reach the program through its event loop.
#include "test_mainform_support.h"

#include "common/FreshConfig.h"
#include "common/GameProbe.h"
#include "settings/IniCtrl.h"
#include "ui/QuitSignals.h"

#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace torvella {
namespace {

using testing::Click;

const QString kCommon = QStringLiteral("common");

class UnaskedClose : public ::testing::Test {
protected:
    testing::FreshConfig cfg;
    testing::ErrorRecorder recorder;
    testing::DialogScript script;

    QString Stored(const char* key)
    {
        return settings::IniCtrl().ReadString(kCommon, QString::fromLatin1(key), QStringLiteral("(none)"));
    }
};

TEST_F(UnaskedClose, ClosesWithoutAQuestionWhateverIsShowingAndWritesEverything)
{
    // How the end comes: with nothing open, while the close question itself shows, while
    // the options dialog shows.
    enum class While { Idle, CloseQuestion, Options };
    for (While w : {While::Idle, While::CloseQuestion, While::Options}) {
        SCOPED_TRACE(int(w));
        QFile::remove(QString::fromStdString(cfg.storeFile().string()));
        settings::IniCtrl().WriteInteger(kCommon, QStringLiteral("tongue"), 1);
        auto run = std::make_unique<testing::ProgramWindows>();
        ui::MainForm& m = run->Main();
        m.Settings().BackMode = 4;
        GameProbe::SetPhase(m.GameState(), GamePhase::Playing);
        const auto closeNow = [&m](QWidget*) { m.CloseUnasked(); };
        switch (w) {
        case While::Idle:
            m.CloseUnasked();
            break;
        case While::CloseQuestion:
            script.Expect("YesNoDlg", closeNow);
            m.close();
            break;
        case While::Options:
            script.Expect("OptionDlg", closeNow);
            m.OptionBtnClick();
            break;
        }
        EXPECT_FALSE(m.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        const int score = GameProbe::Board(m.GameState()).Score;
        QTest::qWait(350);
        EXPECT_EQ(GameProbe::Board(m.GameState()).Score, score) << "the clock has stopped";
        EXPECT_EQ(Stored("backmode"), "4");
        EXPECT_EQ(Stored("tongue"), "1");
        EXPECT_EQ(Stored("sound"), "1");
        run.reset();
        EXPECT_TRUE(Stored("MainForm").startsWith("200,")) << Stored("MainForm").toStdString();
    }
    EXPECT_TRUE(recorder.errors.isEmpty());
}

TEST_F(UnaskedClose, TheLoopEndedFromOutsideClosesTheGameLikeASignal)
{
    // What the session manager's "die" does at logout.
    settings::IniCtrl().WriteInteger(kCommon, QStringLiteral("tongue"), 0);
    testing::ProgramWindows run;
    run.Main().Settings().SoundOn = false;
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    EXPECT_FALSE(run.Main().isVisible());
    EXPECT_EQ(Stored("sound"), "0");
}

TEST(QuitSignals, EachQuitSignalReachesTheHandlerOnTheEventLoop)
{
    QList<int> seen;
    {
        ui::QuitSignals quitSignals([&seen](int s) { seen << s; });
        for (int s : {SIGTERM, SIGINT, SIGHUP}) {
            std::raise(s);
            EXPECT_TRUE(seen.isEmpty() || seen.last() != s) << "handled inside the signal handler";
            QTRY_COMPARE_WITH_TIMEOUT(seen.size() > 0 && seen.last() == s, true, 2000);
        }
    }
    EXPECT_EQ(seen, (QList<int>{SIGTERM, SIGINT, SIGHUP}));
    struct sigaction now = {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL) << "the default action is back";
}

} // namespace
} // namespace torvella
