// The game in a Wayland session: Qt's Wayland platform under a headless weston of its own
// (private runtime folder, a socket name no other run uses). It shows its first frame, ends
// cleanly on SIGTERM with the settings written, and keeps the stored window position, which
// a Wayland window can neither choose nor learn, while it restores and saves the size; the
// dialogs it shows by itself are children of the game window, so the compositor puts them
// over the game.
#include "Interrupted.h"
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

// The number of the first toplevel in the protocol log that made `call`: its title names
// the game window, its fixed size a dialog. Empty while none has.
QString Toplevel(const QByteArray& log, const QString& call)
{
    const QRegularExpression re(QStringLiteral(R"(xdg_toplevel@(\d+)\.)") + QRegularExpression::escape(call));
    return re.match(QString::fromLatin1(log)).captured(1);
}

// A dialog that comes up by itself at the start is a transient child of the game window
// (xdg_toplevel.set_parent), which the compositor then places over the game rather than
// anywhere on the output: the first start's language question (asked before any text of
// the game was read), and the notice of a tableau brought back.
TEST_F(Wayland, DialogsAtTheStartAreChildrenOfTheGameWindow)
{
    struct Case {
        const char* what;
        QString size;  // as the log writes it
        bool interrupted;
    };
    for (const Case& c : {Case{"language question", QStringLiteral("408, 162"), false},
                          Case{"notice of the tableau brought back", QStringLiteral("319, 158"), true}}) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(cfg.dir() / "Quorlix");
        std::filesystem::remove_all(cfg.stateDir());
        if (c.interrupted) {
            std::filesystem::create_directories(cfg.storeFile().parent_path());
            std::ofstream(cfg.storeFile()) << "[common]\ntongue=0\nmusic=0\nsound=0\n";
            ASSERT_TRUE(testing::LeaveOneDropFromTheEnd(cfg.stateDir(), 2));
        }
        log.clear();
        StartGame();
        QString mainId, dialogId;
        const bool shown = LogShows(30000, [&](const QByteArray& log) {
            mainId = Toplevel(log, QStringLiteral("set_title(\"Torvella V"));
            dialogId = Toplevel(log, QStringLiteral("set_min_size(") + c.size + QLatin1Char(')'));
            return !mainId.isEmpty() && !dialogId.isEmpty();
        });
        ASSERT_TRUE(shown) << "no game window and " << c.what << "; the game's output:\n"
                           << log.right(3000).toStdString();
        const QByteArray parent =
            QStringLiteral("xdg_toplevel@%1.set_parent(xdg_toplevel@%2)").arg(dialogId, mainId).toLatin1();
        EXPECT_TRUE(LogShows(2000, [&](const QByteArray& log) { return log.contains(parent); }))
            << "not a child of the game window (" << parent.toStdString() << " missing)";
        EndBySigterm();
    }
}

} // namespace
} // namespace torvella
