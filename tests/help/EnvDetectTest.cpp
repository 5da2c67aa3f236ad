#include "HelpTestSupport.h"

#include "help/EnvDetect.h"

#include <QFile>
#include <QFileInfo>
#include <QtHelp/qthelpversion.h>

namespace torvella::help {
namespace {

FileVersion V(uint16_t a, uint16_t b, uint16_t c, uint16_t d)
{
    const Version v{a, b, c, d};
    return {v, VersionText(v)};
}

TEST(EnvDetect, CompareVersionOrdersFieldByFieldUnsigned)
{
    EXPECT_EQ(CompareVersion({5, 2, 3669, 0}, {5, 2, 3669, 0}), 0);
    EXPECT_EQ(CompareVersion({5, 2, 3669, 1}, {5, 2, 3669, 0}), 1);
    EXPECT_EQ(CompareVersion({4, 99, 9999, 9}, {5, 0, 0, 0}), -1);
    EXPECT_EQ(CompareVersion({1, 0, 0, 65535}, {1, 0, 1, 0}), -1);
    EXPECT_EQ(CompareVersion({1, 0, 0, 65535}, {1, 0, 0, 1}), 1); // 16-bit unsigned, not signed
}

TEST(EnvDetect, ViewerReleaseNameTableEdges)
{
    const struct {
        FileVersion v;
        const char* name;
    } cases[] = {
        {V(5, 2, 3669, 0), "1.4a"},     {V(5, 2, 3669, 1), "> 1.4a"}, {V(5, 2, 3668, 0), "1.4"},
        {V(5, 2, 3626, 0), "1.4"},      {V(5, 2, 3625, 9), "1.33"},   {V(4, 73, 8474, 0), "1.21a"},
        {V(4, 72, 7290, 0), "1.0"},     {V(4, 72, 7289, 0), "< 1.0"}, {V(6, 4, 2, 0), "> 1.4a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ViewerReleaseName(c.v), QString::fromLatin1(c.name)) << c.v.text.toStdString();
    EXPECT_EQ(ViewerReleaseName(FileVersion{}), QString());
}

TEST(EnvDetect, BrowserVersionCorrectionAndNames)
{
    // Early versions carry the release in the build field.
    const FileVersion early = CorrectBrowserVersion(V(4, 70, 0, 1155));
    EXPECT_EQ(early.version, (Version{4, 70, 1155, 0}));
    EXPECT_EQ(early.text, QStringLiteral("4.70.1155.0"));
    EXPECT_EQ(BrowserReleaseName(early), QStringLiteral("Internet Explorer 3.0"));

    // Minor above 70: no correction, and 4.71.0.544 lies just below 4.71.544.0.
    const FileVersion notEarly = CorrectBrowserVersion(V(4, 71, 0, 544));
    EXPECT_EQ(notEarly.version, (Version{4, 71, 0, 544}));
    EXPECT_EQ(BrowserReleaseName(notEarly), QStringLiteral("Internet Explorer 3.02"));

    const struct {
        FileVersion v;
        const char* name;
    } cases[] = {
        {V(8, 0, 6001, 18702), ">= Internet Explorer 8.0.6001.18702"},
        {V(7, 0, 0, 0), ">= Internet Explorer 7.0.0.0"},
        {V(6, 0, 2900, 2180), "Internet Explorer 6 (Windows XP SP2)"},
        {V(6, 0, 2900, 2179), "Internet Explorer 6 SP1"},
        {V(5, 50, 4522, 1800), "Internet Explorer 5.5 Service Pack 1"},
        {V(4, 40, 308, 0), "Internet Explorer 1.0 (Plus!)"},
        {V(4, 40, 307, 9), "< Internet Explorer 1.0 (Plus!)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BrowserReleaseName(CorrectBrowserVersion(c.v)), QString::fromLatin1(c.name)) << c.v.text.toStdString();
    EXPECT_EQ(BrowserReleaseName(CorrectBrowserVersion(FileVersion{})), QString());
}

TEST(EnvDetect, SystemRootSubstitution)
{
    const QString windows = QStringLiteral("C:\\WINDOWS");
    EXPECT_EQ(SubstituteSystemRoot(QStringLiteral("%systemroot%\\System32\\hhctrl.ocx"), windows),
              QStringLiteral("C:\\WINDOWS\\System32\\hhctrl.ocx"));
    EXPECT_EQ(SubstituteSystemRoot(QStringLiteral("%SystemRoot%"), windows), windows);
    for (const char* unchanged : {"%SystemRoot", "x%SystemRoot%\\a", "%System%\\a", ""})
        EXPECT_EQ(SubstituteSystemRoot(QString::fromLatin1(unchanged), windows), QString::fromLatin1(unchanged));
}

TEST(EnvDetect, FileVersionsComeFromTheInstalledReaderOnly)
{
    testing::TempFolders folders;
    const QString file = folders.Prog() + QStringLiteral("/component.so");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    EXPECT_EQ(ReadFileVersion(file).text, QString());
    const FileVersionReader previous = SetFileVersionReader([](const QString&) { return Version{4, 72, 7290, 3}; });
    EXPECT_EQ(ReadFileVersion(file).text, QStringLiteral("4.72.7290.3"));
    EXPECT_EQ(ReadFileVersion(folders.Prog() + QStringLiteral("/missing.so")).text, QString());
    EXPECT_EQ(ReadFileVersion(QString()).text, QString());
    SetFileVersionReader(previous);
}

TEST(EnvDetect, LinuxProbes)
{
    EXPECT_EQ(ViewerVersion().text, QStringLiteral(QTHELP_VERSION_STR ".0"));
    EXPECT_EQ(BrowserVersion().text, QString());
    testing::TempFolders folders;
    const QString programFolder = QFileInfo(QStringLiteral(TORVELLA_TEST_QCH)).absolutePath();
    EXPECT_EQ(FindViewerControl({folders.Prog(), programFolder}), programFolder + QStringLiteral("/libtorvella-help.so"));
    EXPECT_EQ(FindViewerControl({folders.Prog()}), QString());
    EXPECT_EQ(WindowsFolder(), QString());
}

} // namespace
} // namespace torvella::help
