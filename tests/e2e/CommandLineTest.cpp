// `torvella --help` and `--version` (and a --deal that names no deal) as a Linux user runs them: on standard output, exit
// status 0, and no window: they work without any display and touch no settings.
#include "common/FreshConfig.h"
#include "generated/Version.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace torvella {
namespace {

struct Case {
    QStringList args;
    QString expected;  // the whole output, or the beginning of it when it ends with "..."
};

// No display to open a window on, and a settings folder of the test's own.
QProcessEnvironment WithoutDisplay(const testing::FreshConfig& cfg)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(cfg.dir().string()));
    return env;
}

TEST(CommandLine, HelpAndVersionAnswerWithoutADisplay)
{
    testing::FreshConfig cfg;
    const QProcessEnvironment env = WithoutDisplay(cfg);

    const QString version = QStringLiteral("torvella %1\n").arg(QLatin1String(kVersion));
    const Case cases[] = {
        {{"--help"}, "Usage: torvella [-debug] [--deal N | --daily]\n..."},
        {{"-h"}, "Usage: torvella [-debug] [--deal N | --daily]\n..."},
        {{"-debug", "--help"}, "Usage: torvella [-debug] [--deal N | --daily]\n..."},
        {{"--version"}, version},
        {{"--version", "--help"}, version},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(QStringLiteral(TORVELLA_PATH), c.args);
        ASSERT_TRUE(run.waitForFinished(20000));
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 0);
        const QString out = QString::fromUtf8(run.readAllStandardOutput());
        EXPECT_EQ(QString::fromUtf8(run.readAllStandardError()), QString());
        if (c.expected.endsWith(QStringLiteral("..."))) {
            EXPECT_TRUE(out.startsWith(c.expected.chopped(3))) << out.toStdString();
            // The usage names every option, the log switch included.
            for (const char* option : {"-debug", "--help", "--version", "--deal", "--daily"})
                EXPECT_TRUE(out.contains(QString::fromLatin1(option))) << option;
        } else {
            EXPECT_EQ(out, c.expected);
        }
    }
    // A deal number that is none is refused before anything starts.
    QProcess run;
    run.setProcessEnvironment(env);
    run.start(QStringLiteral(TORVELLA_PATH), {QStringLiteral("--deal"), QStringLiteral("12x")});
    ASSERT_TRUE(run.waitForFinished(20000));
    EXPECT_EQ(run.exitCode(), 2);
    EXPECT_EQ(QString::fromUtf8(run.readAllStandardError()),
              "torvella: --deal takes a number from 0 to 4294967295, not \"12x\"\n");
    EXPECT_TRUE(QDir(QString::fromStdString(cfg.dir().string())).isEmpty()) << "no settings were touched";
}

struct Finished {
    int status = -1;
    QString out, err;
};

Finished RunProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env)
{
    QProcess run;
    run.setProcessEnvironment(env);
    run.start(program, args);
    if (!run.waitForFinished(20000) || run.exitStatus() != QProcess::NormalExit)
        return {};
    return {run.exitCode(), QString::fromUtf8(run.readAllStandardOutput()), QString::fromUtf8(run.readAllStandardError())};
}

TEST(CommandLine, AnUnknownArgumentGetsAShortUsageAndStatusTwoWithoutAWindow)
{
    testing::FreshConfig cfg;
    const QProcessEnvironment env = WithoutDisplay(cfg);
    const QStringList cases[] = {{"--foo"}, {"foo"}, {"-debug", "-x"}, {"--help", "--foo"}, {"-session"}};
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const Finished r = RunProgram(QStringLiteral(TORVELLA_PATH), args, env);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, QString());
        EXPECT_TRUE(r.err.startsWith("torvella: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("Usage: torvella [-debug]")) << r.err.toStdString();
        EXPECT_LE(r.err.count(QLatin1Char('\n')), 3) << r.err.toStdString();
    }
    EXPECT_TRUE(QDir(QString::fromStdString(cfg.dir().string())).isEmpty()) << "no settings were touched";
}

TEST(CommandLine, TheToolListsItsCommands)
{
    for (const char* ask : {"--help", "help", "-h"}) {
        SCOPED_TRACE(ask);
        const Finished r = RunProgram(QStringLiteral(TORVELLA_CLI_PATH), {QString::fromLatin1(ask)},
                                 QProcessEnvironment::systemEnvironment());
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, QString());
        for (const char* command : {"deal", "play", "solve", "layout", "colours", "encrypt", "decrypt", "render"})
            EXPECT_TRUE(r.out.contains(QStringLiteral("\n  ") + QString::fromLatin1(command)) ||
                        r.out.contains(QStringLiteral(", ") + QString::fromLatin1(command)))
                << command << "\n" << r.out.toStdString();
    }
}

} // namespace
} // namespace torvella
