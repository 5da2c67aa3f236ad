#include "HelpTestSupport.h"

#include "help/hh_funcs.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <cerrno>
#include <sys/utsname.h>
#include <unistd.h>

namespace torvella::help {
namespace {

using testing::MessageRecorder;
using testing::ReadLines;
using testing::TempFolders;

// A fresh module state for each test, in folders of its own.
class DiagLogTest : public ::testing::Test {
protected:
    void Start(const QStringList& arguments, const QString& modulePath = {})
    {
        runtime.reset();
        runtime = std::make_unique<HelpRuntime>(modulePath.isEmpty() ? folders.ProgExe() : modulePath, arguments,
                                                folders.Root() + QStringLiteral("/dpkg"));
    }
    const ProgramFacts& Facts() const { return runtime->Facts(); }
    QString ProgLog() const { return folders.Prog() + QStringLiteral("/HHDebug.txt"); }
    QString TmpLog() const { return folders.Tmp() + QStringLiteral("/HHDebug.txt"); }
    QString StateLog() const { return folders.State() + QStringLiteral("/torvella/HHDebug.txt"); }

    TempFolders folders;
    MessageRecorder messages;
    std::unique_ptr<HelpRuntime> runtime;
};

TEST(FormatText, FillsPlaceholdersSafely)
{
    const struct {
        const char* format;
        LogArgs args;
        const char* expected;
    } cases[] = {
        {"a%sb", {"x"}, "axb"},
        {"%d.%d", {4, 72}, "4.72"},
        {"%d%%", {5}, "5%"},
        {"%s and %s", {"x"}, "x and "}, // a missing argument never reads beyond the list
        {"100%", {}, "100%"},
        {"%q %s", {"y"}, "%q y"},
        {"%s", {7}, "7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatText(QString::fromUtf8(c.format), c.args), QString::fromUtf8(c.expected)) << c.format;
}

TEST(DiagSwitch, OnlySlashOrDashDebugInAnyCaseCounts)
{
    const struct {
        QStringList args;
        bool on;
    } cases[] = {
        {{"torvella", "/debug"}, true},   {{"torvella", "/DEBUG"}, true}, {{"torvella", "-Debug"}, true},
        {{"torvella", "x", "-debug"}, true}, {{"torvella", "--debug"}, false}, {{"torvella", "debug"}, false},
        {{"/debug"}, false}, // argument 0 is the program itself
        {{"torvella", "/debug2"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DebugArgumentGiven(c.args), c.on) << c.args.join(QLatin1Char(' ')).toStdString();
}

TEST_F(DiagLogTest, SwitchOffRemovesAReadOnlyOldLogAndWritesNothing)
{
    QFile old(ProgLog());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old run\n");
    old.close();
    ASSERT_TRUE(QFile::setPermissions(ProgLog(), QFileDevice::ReadOwner));

    Start({folders.ProgExe(), QStringLiteral("--debug"), QStringLiteral("debug")});
    EXPECT_FALSE(Facts().diagSwitch);
    EXPECT_EQ(Facts().logFolder, folders.Prog());
    EXPECT_FALSE(QFileInfo::exists(ProgLog()));
    runtime->Trace(QStringLiteral("not written %d"), {1});
    EXPECT_FALSE(QFileInfo::exists(ProgLog()));
    EXPECT_FALSE(QFileInfo::exists(folders.Prog() + QStringLiteral("/$_Temp_$.$$$")));
}

TEST_F(DiagLogTest, MarkerFileSwitchesOn)
{
    QFile marker(folders.Prog() + QStringLiteral("/debug.debug"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    Start({folders.ProgExe()});
    EXPECT_TRUE(Facts().diagSwitch);
    EXPECT_TRUE(QFileInfo::exists(ProgLog()));
}

TEST_F(DiagLogTest, HeaderLinesAndSeparators)
{
    Start({QStringLiteral("/opt/games//torvella"), QStringLiteral("/DEBUG"), QStringLiteral("two words")});
    ASSERT_TRUE(Facts().diagSwitch);
    const QStringList lines = ReadLines(ProgLog());
    ASSERT_EQ(lines.size(), 27) << lines.join(QLatin1Char('\n')).toStdString();

    const QString equals(79, QLatin1Char('='));
    const QString minus(79, QLatin1Char('-'));
    for (int i : {0, 26})
        EXPECT_EQ(lines[i], equals) << "line " << i + 1;
    for (int i : {8, 18, 22})
        EXPECT_EQ(lines[i], minus) << "line " << i + 1;

    utsname u{};
    ASSERT_EQ(uname(&u), 0);
    const QLocale locale = QLocale::system();
    const QString hhVersion = ViewerVersion().text;
    // Exact lines where the value is known; the label (and its blanks) for the rest.
    const struct {
        int line;
        QString text;
        bool exact;
    } expected[] = {
        {2, QStringLiteral("Log File:             \t") + ProgLog(), true},
        {3, QStringLiteral("Date:                 \t"), false},
        {4, QStringLiteral("Operating System:      \t") + QString::fromLocal8Bit(u.sysname) + QLatin1Char(' '), false},
        {5, QStringLiteral("SysLocale.DefaultLCID: \t") + locale.name() + QStringLiteral(" ("), false},
        {6, QStringLiteral("SysLocale.PriLangID:   \t0x"), false},
        {7, QStringLiteral("SysLocale.SubLangID:   \t0x"), false},
        {8, QStringLiteral("DecimalSeparator:      \t") + locale.decimalPoint(), true},
        {10, QStringLiteral("EXE Path =          \t/opt/games//torvella"), true},
        {11, QStringLiteral("EXE Version =       \t"), true},
        {12, QStringLiteral("Cmdline Param(s) =  \t/DEBUG | two words"), true},
        {13, QStringLiteral("Actual CmdLine =  \t/opt/games//torvella /DEBUG two words"), true},
        {14, QStringLiteral("_RunDir =           \t/opt/games"), true},
        {15, QStringLiteral("_ModuleName =       \ttorvella"), true},
        {16, QStringLiteral("_ModuleDir =        \t") + folders.Prog(), true},
        {17, QStringLiteral("_ModulePath =        \t") + folders.ProgExe(), true},
        {18, QStringLiteral("Module Version =       \t"), true},
        {20, QStringLiteral("_hhInstalled =      \tYES"), true},
        {21, QStringLiteral("_hhVerStr =         \t") + hhVersion, true},
        {22, QStringLiteral("_hhFriendlyVerStr = \t> 1.4a"), true},
        {24, QStringLiteral("_ieInstalled =      \tNO"), true},
        {25, QStringLiteral("_ieVerStr =         \t"), true},
        {26, QStringLiteral("_ieFriendlyVerStr = \t"), true},
    };
    for (const auto& e : expected) {
        const QString& line = lines[e.line - 1];
        if (e.exact)
            EXPECT_EQ(line, e.text) << "line " << e.line;
        else
            EXPECT_TRUE(line.startsWith(e.text)) << "line " << e.line << ": " << line.toStdString();
    }
    // "Linux 6.1 (Build 0) Debian ..." : numbers in the Part's places
    EXPECT_TRUE(lines[3].contains(QRegularExpression(QStringLiteral(" \\d+\\.\\d+ \\(Build \\d+\\) .+$"))))
        << lines[3].toStdString();
    EXPECT_TRUE(lines[5].contains(QRegularExpression(QStringLiteral("\t0x[0-9A-F]{4} \\(\\d+\\)$"))))
        << lines[5].toStdString();
}

TEST_F(DiagLogTest, StampedMarkerAndSeparatorLines)
{
    TDLogFile log(folders.Prog() + QStringLiteral("/extra.txt"), true, true, false, false);
    log.Trace(QStringLiteral("step %s"), {"one"});
    log.Trace(QStringLiteral("!marker"));
    log.Trace(QStringLiteral("-"));
    log.AppendLine(QStringLiteral("raw %s 100%"), {"ignored"}, -1);
    TDLogFile quiet(folders.Prog() + QStringLiteral("/quiet.txt"), false, true, true, false);
    quiet.Trace(QStringLiteral("never"));

    const QStringList lines = ReadLines(folders.Prog() + QStringLiteral("/extra.txt"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("   step one")));
    EXPECT_GT(lines[0].size(), QStringLiteral("   step one").size()); // a time in front
    EXPECT_EQ(lines[1], QStringLiteral("marker"));
    EXPECT_EQ(lines[2], QString(79, QLatin1Char('-')));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("   raw %s 100%")));
    EXPECT_FALSE(QFileInfo::exists(folders.Prog() + QStringLiteral("/quiet.txt")));
}

TEST_F(DiagLogTest, UnwritableLogFolderDropsLinesSilently)
{
    const QString folder = folders.Prog() + QStringLiteral("/logs");
    ASSERT_TRUE(QDir().mkpath(folder));
    TDLogFile log(folder + QStringLiteral("/HHDebug.txt"), true, true, false, false);
    ASSERT_EQ(log.LogPath, folder + QStringLiteral("/HHDebug.txt"));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    log.Trace(QStringLiteral("lost"));
    EXPECT_FALSE(QFileInfo::exists(folder));
}

// Where the log goes: the program folder only when the player may write there and no
// package installed the program; else the player's state folder, else the temporary one.
// (A folder below a regular file can never be written, not even by root.)
TEST_F(DiagLogTest, LogFolderByProgramFolderPackageAndStateFolder)
{
    QFile blocker(folders.Root() + QStringLiteral("/not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unwritable = blocker.fileName() + QStringLiteral("/torvella");
    const QString dpkg = folders.Root() + QStringLiteral("/dpkg");
    ASSERT_TRUE(QDir().mkpath(dpkg));

    enum class Where { Prog, State, Tmp };
    const struct {
        const char* name;
        bool unwritableProgram;
        const char* packageList; // dpkg's list file of the package, or none
        bool stateUsable;
        Where where;
    } cases[] = {
        {"own build", false, nullptr, true, Where::Prog},
        {"another package's list only", false, "other.list", true, Where::Prog},
        {"installed by the package", false, "torvella.list", true, Where::State},
        {"installed by the package, multi-arch", false, "torvella:amd64.list", true, Where::State},
        {"unwritable program folder", true, nullptr, true, Where::State},
        {"installed, state folder unusable", false, "torvella.list", false, Where::Tmp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString module = c.unwritableProgram ? unwritable : folders.ProgExe();
        QDir(dpkg).removeRecursively();
        QDir().mkpath(dpkg);
        if (c.packageList) {
            QFile list(dpkg + QLatin1Char('/') + QLatin1String(c.packageList));
            ASSERT_TRUE(list.open(QIODevice::WriteOnly));
            list.write(("/.\n/usr\n" + module + "\n/usr/games/torvella\n").toLocal8Bit());
        }
        QFile::remove(ProgLog());
        QDir(folders.State()).removeRecursively();
        if (c.stateUsable) {
            QDir().mkpath(folders.State());
        } else {
            QFile state(folders.State());
            ASSERT_TRUE(state.open(QIODevice::WriteOnly));
        }
        Start({module, QStringLiteral("-debug")}, module);

        const QString expected = c.where == Where::Prog ? ProgLog() : c.where == Where::State ? StateLog() : TmpLog();
        EXPECT_EQ(runtime->Log().LogPath, expected);
        const QStringList lines = ReadLines(expected);
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines[1], QStringLiteral("Log File:             \t") + expected);
        if (c.where != Where::Prog) {
            runtime.reset();
            EXPECT_TRUE(QDir(folders.Prog()).entryList(QDir::Files | QDir::Hidden).isEmpty())
                << "nothing is written where the package manager keeps the program";
            QFile::remove(expected);
        }
    }
}

TEST_F(DiagLogTest, WithoutTheSwitchNoStateFolderIsMade)
{
    QFile list(folders.Root() + QStringLiteral("/dpkg/torvella.list"));
    ASSERT_TRUE(QDir().mkpath(folders.Root() + QStringLiteral("/dpkg")));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write((folders.ProgExe() + QStringLiteral("\n")).toLocal8Bit());
    list.close();
    Start({folders.ProgExe()});
    EXPECT_FALSE(QFileInfo::exists(folders.State() + QStringLiteral("/torvella")));
}

TEST_F(DiagLogTest, ReadOnlyProgramFolderLogsToTheStateFolder)
{
    ASSERT_TRUE(QFile::setPermissions(folders.Prog(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool stillWritable = FolderWritable(folders.Prog());
    if (!stillWritable) {
        Start({folders.ProgExe(), QStringLiteral("/debug")});
        EXPECT_EQ(Facts().logFolder, folders.State() + QStringLiteral("/torvella"));
        EXPECT_TRUE(QFileInfo::exists(StateLog()));
        EXPECT_FALSE(QFileInfo::exists(ProgLog()));
    }
    QFile::setPermissions(folders.Prog(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (stillWritable)
        GTEST_SKIP() << "permissions do not bind this user (root); LogFolderByProgramFolderPackageAndStateFolder covers it";
}

TEST_F(DiagLogTest, ErrorTextWithPercentIsShownAndLoggedOnceFormatted)
{
    Start({folders.ProgExe(), QStringLiteral("/debug")});
    const QString exe = folders.Prog() + QStringLiteral("/100%s%d/viewer");
    EXPECT_FALSE(RunExternal(*runtime, exe, QStringLiteral("-mapid 2 %s")));

    const QString expected = QStringLiteral("Function ShellExecute(") + exe +
                             QStringLiteral(", -mapid 2 %s)\rReturned: [Error:2] File Not Found");
    ASSERT_EQ(messages.texts, QStringList{expected});
    EXPECT_EQ(messages.captions, QStringList{QStringLiteral("Torvella")});
    const QStringList lines = ReadLines(ProgLog());
    ASSERT_EQ(lines.size(), 28);
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("   ") + expected)) << lines.last().toStdString();
}

TEST(DescribeLastError, SystemNumbersByKind)
{
    const struct {
        int number;
        const char* text;
    } cases[] = {
        {ENOENT, "File Not Found"},     {ENOTDIR, "Path Not Found"}, {EACCES, "Access Denied"},
        {ENOMEM, "Insufficient Memory"}, {EROFS, "Media Is Write Protected"}, {ETXTBSY, "File In Use"},
        {ENOSPC, "Disk Full"},          {ENOEXEC, "Not A Windows Or MSDos Program"},
        {9999, "General Failure"},      {0, "General Failure"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DescribeLastError(c.number),
                  QStringLiteral("[Error:%1] %2").arg(c.number).arg(QString::fromLatin1(c.text)));
}

} // namespace
} // namespace torvella::help
