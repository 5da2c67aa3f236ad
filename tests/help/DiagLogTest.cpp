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
    void TearDown() override { FinalizeHhFuncs(); }

    void Start(const QStringList& arguments, const QString& modulePath = {})
    {
        InitHhFuncs(modulePath.isEmpty() ? folders.ProgExe() : modulePath, arguments);
    }
    QString ProgLog() const { return folders.Prog() + QStringLiteral("/HHDebug.txt"); }
    QString TmpLog() const { return folders.Tmp() + QStringLiteral("/HHDebug.txt"); }

    TempFolders folders;
    MessageRecorder messages;
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
    EXPECT_FALSE(DiagSwitch);
    EXPECT_EQ(LogFolder, folders.Prog());
    EXPECT_FALSE(QFileInfo::exists(ProgLog()));
    LogTrace(QStringLiteral("not written %d"), {1});
    EXPECT_FALSE(QFileInfo::exists(ProgLog()));
    EXPECT_FALSE(QFileInfo::exists(folders.Prog() + QStringLiteral("/$_Temp_$.$$$")));
}

TEST_F(DiagLogTest, MarkerFileSwitchesOn)
{
    QFile marker(folders.Prog() + QStringLiteral("/debug.debug"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    Start({folders.ProgExe()});
    EXPECT_TRUE(DiagSwitch);
    EXPECT_TRUE(QFileInfo::exists(ProgLog()));
}

TEST_F(DiagLogTest, HeaderLinesAndSeparators)
{
    Start({QStringLiteral("/opt/games//torvella"), QStringLiteral("/DEBUG"), QStringLiteral("two words")});
    ASSERT_TRUE(DiagSwitch);
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

// A folder below a regular file can never be written, not even by root.
TEST_F(DiagLogTest, UnwritableProgramFolderLogsToTemp)
{
    QFile blocker(folders.Root() + QStringLiteral("/not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString module = blocker.fileName() + QStringLiteral("/torvella");

    Start({module, QStringLiteral("-debug")}, module);
    EXPECT_EQ(LogFolder, folders.Tmp());
    ASSERT_NE(DiagLog, nullptr);
    EXPECT_EQ(DiagLog->LogPath, TmpLog());
    const QStringList lines = ReadLines(TmpLog());
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[1], QStringLiteral("Log File:             \t") + TmpLog());
}

TEST_F(DiagLogTest, ReadOnlyProgramFolderLogsToTemp)
{
    ASSERT_TRUE(QFile::setPermissions(folders.Prog(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool stillWritable = FolderWritable(folders.Prog());
    if (!stillWritable) {
        Start({folders.ProgExe(), QStringLiteral("/debug")});
        EXPECT_EQ(LogFolder, folders.Tmp());
        EXPECT_TRUE(QFileInfo::exists(TmpLog()));
        EXPECT_FALSE(QFileInfo::exists(ProgLog()));
    }
    QFile::setPermissions(folders.Prog(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (stillWritable)
        GTEST_SKIP() << "permissions do not bind this user (root); UnwritableProgramFolderLogsToTemp covers it";
}

TEST_F(DiagLogTest, ErrorTextWithPercentIsShownAndLoggedOnceFormatted)
{
    Start({folders.ProgExe(), QStringLiteral("/debug")});
    const QString exe = folders.Prog() + QStringLiteral("/100%s%d/viewer");
    EXPECT_FALSE(RunExternal(exe, QStringLiteral("-mapid 2 %s")));

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
