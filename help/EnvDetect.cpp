#include "help/EnvDetect.h"

#include "help/HelpReader.h"

#include <QFileInfo>
#include <QtHelp/qthelpversion.h>

#include <array>
#include <utility>

namespace torvella::help {

namespace {

FileVersionReader& Reader()
{
    static FileVersionReader reader;
    return reader;
}

FileVersion Make(const Version& v)
{
    return {v, VersionText(v)};
}

} // namespace

QString VersionText(const Version& v)
{
    return QStringLiteral("%1.%2.%3.%4").arg(v.major).arg(v.minor).arg(v.release).arg(v.build);
}

int CompareVersion(const Version& a, const Version& b)
{
    const std::array<uint16_t, 4> x{a.major, a.minor, a.release, a.build};
    const std::array<uint16_t, 4> y{b.major, b.minor, b.release, b.build};
    for (size_t i = 0; i < x.size(); ++i) {
        if (x[i] != y[i])
            return x[i] > y[i] ? 1 : -1;
    }
    return 0;
}

FileVersionReader SetFileVersionReader(FileVersionReader reader)
{
    return std::exchange(Reader(), std::move(reader));
}

FileVersion ReadFileVersion(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return {};
    if (Reader()) {
        if (const auto v = Reader()(path))
            return Make(*v);
    }
    // ELF files have no version resource: nothing more to learn.
    return {};
}

QString ViewerReleaseName(const FileVersion& v)
{
    if (v.text.isEmpty())
        return {};
    struct Row {
        Version atLeast;
        const char* name;
    };
    static const Row rows[] = {
        {{5, 2, 3626, 0}, "1.4"},   {{4, 74, 9273, 0}, "1.33"}, {{4, 74, 8857, 0}, "1.32"},
        {{4, 74, 8793, 0}, "1.31"}, {{4, 74, 8702, 0}, "1.3"},  {{4, 73, 8561, 0}, "1.22"},
        {{4, 73, 8474, 0}, "1.21a"}, {{4, 73, 8412, 0}, "1.21"}, {{4, 73, 8252, 0}, "1.2"},
        {{4, 72, 8164, 0}, "1.1b"}, {{4, 72, 7325, 0}, "1.1a"}, {{4, 72, 7323, 0}, "1.1"},
        {{4, 72, 7290, 0}, "1.0"},
    };
    const Version last14a{5, 2, 3669, 0};
    const int vs14a = CompareVersion(v.version, last14a);
    if (vs14a > 0)
        return QStringLiteral("> 1.4a");
    if (vs14a == 0)
        return QStringLiteral("1.4a");
    for (const Row& row : rows) {
        if (CompareVersion(v.version, row.atLeast) >= 0)
            return QString::fromLatin1(row.name);
    }
    return QStringLiteral("< 1.0");
}

FileVersion CorrectBrowserVersion(const FileVersion& v)
{
    if (v.text.isEmpty())
        return v;
    Version c = v.version;
    if (c.major == 4 && c.minor <= 70 && c.release == 0) {
        c.release = c.build;
        c.build = 0;
    }
    return Make(c);
}

QString BrowserReleaseName(const FileVersion& corrected)
{
    if (corrected.text.isEmpty())
        return {};
    if (corrected.version.major >= 7)
        return QStringLiteral(">= Internet Explorer ") + corrected.text;
    struct Row {
        Version atLeast;
        const char* name;
    };
    static const Row rows[] = {
        {{6, 0, 3790, 0}, "Internet Explorer 6 (Windows Server 2003)"},
        {{6, 0, 3718, 0}, "Internet Explorer 6 (Windows Server 2003 RC2)"},
        {{6, 0, 3663, 0}, "Internet Explorer 6 (Windows Server 2003 RC1)"},
        {{6, 0, 2900, 2180}, "Internet Explorer 6 (Windows XP SP2)"},
        {{6, 0, 2800, 1106}, "Internet Explorer 6 SP1"},
        {{6, 0, 2712, 300}, "Internet Explorer 6 (Windows XP + minor update)"},
        {{6, 0, 2600, 0}, "Internet Explorer 6 (Windows XP)"},
        {{6, 0, 2479, 6}, "Internet Explorer 6 Public Preview (Beta) Refresh"},
        {{6, 0, 2462, 0}, "Internet Explorer 6 Public Preview (Beta)"},
        {{5, 50, 4807, 2300}, "Internet Explorer 5.5 Service Pack 2"},
        {{5, 50, 4522, 1800}, "Internet Explorer 5.5 Service Pack 1"},
        {{5, 50, 4308, 2900}, "Internet Explorer 5.5 Advanced Security Privacy Beta"},
        {{5, 50, 4134, 600}, "Internet Explorer 5.5"},
        {{5, 50, 4134, 100}, "Internet Explorer 5.5 for Windows Me (4.90.3000)"},
        {{5, 50, 4030, 2400}, "Internet Explorer 5.5 & Internet Tools Beta"},
        {{5, 50, 3825, 1300}, "Internet Explorer 5.5 Developer Preview"},
        {{5, 0, 2919, 6400}, "Internet Explorer 5.01"},
        {{5, 0, 2919, 6307}, "Internet Explorer 5.01"},
        {{5, 0, 2919, 3800}, "Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"},
        {{5, 0, 2919, 800}, "Internet Explorer 5.01 (Windows 2000 RC1, build 5.00.2072)"},
        {{5, 0, 2723, 2900}, "Internet Explorer 5.0 updated"},
        {{5, 0, 2721, 1400}, "Internet Explorer 5.0 updated"},
        {{5, 0, 2614, 0}, "Internet Explorer 5.0b"},
        {{5, 0, 2314, 0}, "Internet Explorer 5.0a"},
        {{5, 0, 2014, 0}, "Internet Explorer 5.0"},
        {{5, 0, 910, 0}, "Internet Explorer 5 Beta (Beta 2)"},
        {{5, 0, 518, 0}, "Internet Explorer 5 Developer Preview (Beta 1)"},
        {{4, 72, 3612, 0}, "Internet Explorer 4.01 Service Pack 2 (SP2)"},
        {{4, 72, 3110, 0}, "Internet Explorer 4.01 Service Pack 1 (SP1)"},
        {{4, 72, 2106, 0}, "Internet Explorer 4.01"},
        {{4, 71, 1712, 0}, "Internet Explorer 4.0"},
        {{4, 71, 1008, 0}, "Internet Explorer 4.0 Platform Preview 2.0 (PP2)"},
        {{4, 71, 544, 0}, "Internet Explorer 4.0 Platform Preview 1.0 (PP1)"},
        {{4, 70, 1300, 0}, "Internet Explorer 3.02"},
        {{4, 70, 1215, 0}, "Internet Explorer 3.01"},
        {{4, 70, 1158, 0}, "Internet Explorer 3.0 (OSR2)"},
        {{4, 70, 1155, 0}, "Internet Explorer 3.0"},
        {{4, 40, 520, 0}, "Internet Explorer 2.0"},
        {{4, 40, 308, 0}, "Internet Explorer 1.0 (Plus!)"},
    };
    for (const Row& row : rows) {
        if (CompareVersion(corrected.version, row.atLeast) >= 0)
            return QString::fromLatin1(row.name);
    }
    return QStringLiteral("< Internet Explorer 1.0 (Plus!)");
}

QString SubstituteSystemRoot(const QString& value, const QString& windowsFolder)
{
    static const QString token = QStringLiteral("%SystemRoot%");
    if (value.size() >= token.size() && value.startsWith(token, Qt::CaseInsensitive))
        return windowsFolder + value.mid(token.size());
    return value;
}

QString WindowsFolder()
{
    return {};
}

QString SystemFolder()
{
    return {};
}

QString FindViewerControl(const QStringList& moduleFolders)
{
    for (const QString& folder : moduleFolders) {
        const QFileInfo module(folder + QLatin1Char('/') + QLatin1String(kHelpModuleName));
        if (!folder.isEmpty() && module.isFile())
            return module.absoluteFilePath();
    }
    return {};
}

FileVersion ViewerVersion()
{
    // The version of the Qt Help the help module is built with stands in for the viewer
    // control's file version; asking the library itself would load it.
    return Make({static_cast<uint16_t>((QTHELP_VERSION >> 16) & 0xff),
                 static_cast<uint16_t>((QTHELP_VERSION >> 8) & 0xff),
                 static_cast<uint16_t>(QTHELP_VERSION & 0xff), 0});
}

FileVersion BrowserVersion()
{
    const QString folder = SystemFolder();
    if (folder.isEmpty())
        return {};
    return CorrectBrowserVersion(ReadFileVersion(folder + QStringLiteral("/Shdocvw.dll")));
}

} // namespace torvella::help
