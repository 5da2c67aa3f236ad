// The game in a Wayland session: Qt's Wayland platform under a headless weston of its own
// (private runtime folder, a socket name no other run uses). It shows its first frame, ends
// cleanly on SIGTERM with the settings written, and keeps the stored window position, which
// a Wayland window can neither choose nor learn, while it restores and saves the size; its
// language question is a child of the game window, so the compositor puts it over the game.
#include "common/FreshConfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

namespace torvella {
namespace {

// Waits up to `ms` for `ready`, looking every 20 ms.
template <class Ready>
bool WaitFor(int ms, Ready ready)
{
    QElapsedTimer t;
    t.start();
    while (!ready()) {
        if (t.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// A headless weston of its own for each test, and the game's environment to run under it.
class Wayland : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString weston = QStandardPaths::findExecutable(QStringLiteral("weston"));
        if (weston.isEmpty())
            GTEST_SKIP() << "weston is not installed (scripts/packages.txt lists it)";
        ASSERT_TRUE(runtime.isValid());
        // Wayland wants the runtime folder private to its user.
        ASSERT_TRUE(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString socket = QStringLiteral("torvella-test-%1").arg(QCoreApplication::applicationPid());

        QProcessEnvironment base = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
            base.remove(QString::fromLatin1(name));
        base.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

        compositor.setProcessEnvironment(base);
        compositor.setProcessChannelMode(QProcess::MergedChannels);
        compositor.start(weston, {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--socket=") + socket,
                                  QStringLiteral("--no-config"), QStringLiteral("--idle-time=0")});
        ASSERT_TRUE(compositor.waitForStarted(5000));
        ASSERT_TRUE(WaitFor(10000, [&] { return QFile::exists(runtime.filePath(socket)); }))
            << compositor.readAll().toStdString();

        env = base;
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), socket);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(cfg.dir().string()));
        env.insert(QStringLiteral("XDG_STATE_HOME"), QString::fromStdString(cfg.stateDir().string()));
        env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(cfg.dataDir().string()));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        // The client's protocol log: what the game asks of the compositor.
        env.insert(QStringLiteral("WAYLAND_DEBUG"), QStringLiteral("client"));
    }
    void TearDown() override
    {
        if (game.state() != QProcess::NotRunning) {
            game.kill();
            game.waitForFinished(5000);
        }
        compositor.terminate();
        compositor.waitForFinished(5000);
    }

    void StartGame()
    {
        game.setProcessEnvironment(env);
        game.start(QStringLiteral(TORVELLA_PATH), {});
        ASSERT_TRUE(game.waitForStarted(5000));
    }
    // Reads the protocol log until `seen` holds for it, at most `ms` long.
    template <class Seen>
    bool LogShows(int ms, Seen seen)
    {
        return WaitFor(ms, [&] {
            game.waitForReadyRead(20);  // no event loop here: pull what the pipe holds
            log += game.readAllStandardError();
            return seen(log);
        });
    }
    void EndBySigterm()
    {
        ::kill(static_cast<pid_t>(game.processId()), SIGTERM);
        ASSERT_TRUE(game.waitForFinished(15000));
        EXPECT_EQ(game.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(game.exitCode(), 0);
    }

    QTemporaryDir runtime;
    QProcess compositor;
    QProcessEnvironment env;
    testing::FreshConfig cfg;
    QProcess game;
    QByteArray log;
};

TEST_F(Wayland, GameRunsNativelyEndsOnSigtermAndKeepsTheStoredPosition)
{
    // A store from an earlier session: language chosen, the window 800 x 520 at 123, 77.
    std::filesystem::create_directories(cfg.storeFile().parent_path());
    std::ofstream(cfg.storeFile()) << "[common]\ntongue=0\nmusic=0\nsound=0\nMainForm=\"200,0,1,123,77,923,597\"\n";

    StartGame();
    // The first frame handed to the compositor.
    const bool framed = LogShows(20000, [](const QByteArray& log) {
        const qsizetype attach = log.indexOf(".attach(wl_buffer@");
        return attach >= 0 && log.indexOf(".commit()", attach) >= 0;
    });
    EXPECT_TRUE(framed) << "no frame reached the compositor; the game's output:\n" << log.right(3000).toStdString();

    EndBySigterm();
    compositor.terminate();
    compositor.waitForFinished(5000);

    QSettings store(QString::fromStdString(cfg.storeFile().string()), QSettings::IniFormat);
    store.beginGroup(QStringLiteral("common"));
    EXPECT_EQ(store.value(QStringLiteral("tongue")).toString(), QStringLiteral("0")) << "settings written at the end";
    EXPECT_EQ(store.value(QStringLiteral("backmode")).toString(), QStringLiteral("0"));
    const QStringList placement = store.value(QStringLiteral("MainForm")).toString().split(QLatin1Char(','));
    ASSERT_EQ(placement.size(), 7);
    EXPECT_EQ(placement[3], QStringLiteral("123")) << "the stored position stays";
    EXPECT_EQ(placement[4], QStringLiteral("77"));
    EXPECT_EQ(placement[5].toInt() - placement[3].toInt(), 800) << "the size is restored and saved";
    EXPECT_EQ(placement[6].toInt() - placement[4].toInt(), 520);
}

// The first start's language question, asked before any text of the game was read, is a
// transient child of the game window (xdg_toplevel.set_parent), which the compositor then
// places over the game rather than anywhere on the output.
TEST_F(Wayland, LanguageQuestionIsAChildOfTheGameWindow)
{
    StartGame();
    // Each toplevel is named by its title (the game window) or by its fixed size (the
    // question's is 408 x 162).
    const QRegularExpression main(QStringLiteral(R"(xdg_toplevel@(\d+)\.set_title\("Torvella V)"));
    const QRegularExpression question(QStringLiteral(R"(xdg_toplevel@(\d+)\.set_min_size\(408, 162\))"));
    QString mainId, questionId;
    const bool asked = LogShows(30000, [&](const QByteArray& log) {
        const QString text = QString::fromLatin1(log);
        mainId = main.match(text).captured(1);
        questionId = question.match(text).captured(1);
        return !mainId.isEmpty() && !questionId.isEmpty();
    });
    ASSERT_TRUE(asked) << "no game window and language question; the game's output:\n"
                       << log.right(3000).toStdString();
    const QByteArray parent = QStringLiteral("xdg_toplevel@%1.set_parent(xdg_toplevel@%2)")
                                  .arg(questionId, mainId)
                                  .toLatin1();
    EXPECT_TRUE(LogShows(2000, [&](const QByteArray& log) { return log.contains(parent); }))
        << "the question is not a child of the game window (" << parent.toStdString() << " missing)";
    EndBySigterm();
}

} // namespace
} // namespace torvella
