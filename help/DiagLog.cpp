// The diagnostic log and the module initialisation of hh_funcs.
#include "help/hh.h"
#include "help/hh_funcs.h"
#include "modules/ModuleLoader.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTextStream>

#include <cstdio>
#include <dirent.h>
#include <string_view>
#include <sys/utsname.h>
#include <unistd.h>
#include <utility>

namespace torvella::help {

namespace {

QString WithoutTrailingSeparators(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

QString FolderPart(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : WithoutTrailingSeparators(path.left(slash + 1));
}

QString NamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

void DefaultMessageBox(const QString& caption, const QString& text)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok);
        box.exec();
        return;
    }
    // No widgets before the application object exists: the terminal has to do.
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
}

MessageBoxFunc& MessageBoxHandler()
{
    static MessageBoxFunc handler = DefaultMessageBox;
    return handler;
}

QString LongTime()
{
    const QLocale locale = QLocale::system();
    return locale.toString(QTime::currentTime(), locale.timeFormat(QLocale::LongFormat));
}

// PRETTY_NAME of /etc/os-release (or /usr/lib/os-release), empty when neither exists.
QString OsPrettyName()
{
    for (const QString& path : {QStringLiteral("/etc/os-release"), QStringLiteral("/usr/lib/os-release")}) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (!line.startsWith(QStringLiteral("PRETTY_NAME=")))
                continue;
            QString value = line.mid(12);
            if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
                value.back() == value.front())
                value = value.mid(1, value.size() - 2);
            return value;
        }
    }
    return {};
}

// "Linux" and the first three numbers of the kernel release ("6.1.0-18-amd64").
void KernelVersion(QString& name, int& major, int& minor, int& build)
{
    major = minor = build = 0;
    utsname u{};
    if (uname(&u) != 0) {
        name = QStringLiteral("Linux");
        return;
    }
    name = QString::fromLocal8Bit(u.sysname);
    const QString release = QString::fromLocal8Bit(u.release);
    int* parts[] = {&major, &minor, &build};
    qsizetype pos = 0;
    for (int* part : parts) {
        qsizetype end = pos;
        while (end < release.size() && release[end].isDigit())
            ++end;
        if (end == pos)
            break;
        *part = release.mid(pos, end - pos).toInt();
        if (end >= release.size() || release[end] != QLatin1Char('.'))
            break;
        pos = end + 1;
    }
}

QString HexAndDecimalLine(const QString& format, unsigned value)
{
    const QString hex = QStringLiteral("%1").arg(value & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
    return FormatText(format, {QStringLiteral("\t0x") + hex, QString::number(value)});
}

// The locale the C library would use for messages, as the environment names it.
QString LocaleVariable()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return QStringLiteral("C");
}

} // namespace

// ---------------------------------------------------------------- formatting

QString FormatText(const QString& format, const LogArgs& args)
{
    QString out;
    out.reserve(format.size() + 32);
    size_t next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        const QChar kind = format[i + 1];
        if (kind == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
        } else if (kind == QLatin1Char('s') || kind == QLatin1Char('d')) {
            if (next < args.size())
                out += args[next++].Text();
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// ---------------------------------------------------------------- message boxes

MessageBoxFunc SetMessageBoxFunc(MessageBoxFunc f)
{
    return std::exchange(MessageBoxHandler(), f ? std::move(f) : MessageBoxFunc(DefaultMessageBox));
}

void ShowMessageBox(const QString& text)
{
    MessageBoxHandler()(QStringLiteral("Torvella"), text); // the game's title, not the program file's name
}

// ---------------------------------------------------------------- folders and switch

bool FolderWritable(QString folder)
{
    folder = WithoutTrailingSeparators(folder);
    QFile probe(folder + QStringLiteral("/$_Temp_$.$$$"));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    probe.close();
    probe.remove();
    return true;
}

QString TempFolder()
{
    QString folder = QDir::tempPath();
    if (!QFileInfo(folder).isDir())
        folder = QStringLiteral("/tmp");
    return WithoutTrailingSeparators(folder);
}

bool DebugArgumentGiven(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].compare(QStringLiteral("/debug"), Qt::CaseInsensitive) == 0 ||
            arguments[i].compare(QStringLiteral("-debug"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- TDLogFile

TDLogFile::TDLogFile(const QString& path, bool active, bool stampLines, bool writeHeader, bool keepOld,
                     const ProgramFacts& facts)
{
    QString file = path.isEmpty() ? facts.logFolder + LogFileName : path;
    const QString folder = FolderPart(file);
    if (!QFileInfo(folder.isEmpty() ? QStringLiteral("/") : folder).isDir() || !FolderWritable(folder))
        file = TempFolder() + QLatin1Char('/') + NamePart(file);

    LogPath = file;
    Active = active;
    StampLines = stampLines;
    WriteHeader = writeHeader;
    KeepOld = keepOld;

    if (QFileInfo::exists(LogPath)) {
        // A read-only log left behind must not block this run's log.
        QFile::setPermissions(LogPath, QFile::permissions(LogPath) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (!KeepOld)
            QFile::remove(LogPath);
    }
    if (Active && WriteHeader)
        WriteHeaderLines(facts);
}

void TDLogFile::AppendLine(const QString& format, const LogArgs& args, int argCount)
{
    QFile file(LogPath);
    const bool opened = file.open(QIODevice::WriteOnly | QIODevice::Append);
    const QString prefix = StampLines ? LongTime() + QStringLiteral("   ") : QString();
    if (!opened)
        return;
    QString line = argCount == -1 ? format : FormatText(format, args);
    if (line == QLatin1String("-"))
        line = QString(80, QLatin1Char('-'));
    else if (line == QLatin1String("="))
        line = QString(80, QLatin1Char('='));
    if (!line.isEmpty() && (line.front() == QLatin1Char('!') || line.front() == QLatin1Char('-') ||
                            line.front() == QLatin1Char('=')))
        line.remove(0, 1);
    else
        line = prefix + line;
    file.write(line.toUtf8());
    file.write("\n");
    file.flush();
    file.close();
}

void TDLogFile::Trace(const QString& format, const LogArgs& args)
{
    if (Active)
        AppendLine(format, args, static_cast<int>(args.size()));
}

void TDLogFile::ErrorBox(const QString& format, const LogArgs& args)
{
    const QString text = FormatText(format, args);
    ShowMessageBox(text);
    if (Active)
        AppendLine(text, {}, -1);
}

void TDLogFile::WriteHeaderLines(const ProgramFacts& facts)
{
    const QLocale locale = QLocale::system();
    const QString tab = QStringLiteral("\t");
    const auto line = [this](const QString& format, const LogArgs& args = {}) {
        AppendLine(format, args, static_cast<int>(args.size()));
    };

    QString systemName;
    int major = 0, minor = 0, build = 0;
    KernelVersion(systemName, major, minor, build);
    QString distribution = OsPrettyName();
    if (distribution.isEmpty())
        distribution = QStringLiteral("No Service Pack");

    const QString dateTime = locale.toString(QDateTime::currentDateTime(),
                                             locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') +
                                                 locale.timeFormat(QLocale::LongFormat));
    // Qt's language and territory numbers take the place of the locale identifiers.
    const unsigned language = static_cast<unsigned>(locale.language());
    const unsigned territory = static_cast<unsigned>(locale.territory());

    const QString exePath = facts.commandLine.value(0);
    const QStringList parameters = facts.commandLine.mid(1);

    line(QStringLiteral("="));
    line(QStringLiteral("!Log File:             %s"), {tab + LogPath});
    line(QStringLiteral("!Date:                 %s"), {tab + dateTime});
    line(QStringLiteral("!Operating System:      %s %d.%d (Build %d) %s"),
         {tab + systemName, major, minor, build, distribution});
    line(QStringLiteral("!SysLocale.DefaultLCID: %s (%s)"), {tab + locale.name(), LocaleVariable()});
    AppendLine(HexAndDecimalLine(QStringLiteral("!SysLocale.PriLangID:   %s (%s)"), language), {}, -1);
    AppendLine(HexAndDecimalLine(QStringLiteral("!SysLocale.SubLangID:   %s (%s)"), territory), {}, -1);
    line(QStringLiteral("!DecimalSeparator:      %s"), {tab + locale.decimalPoint()});
    line(QStringLiteral("-"));
    line(QStringLiteral("!EXE Path =          %s"), {tab + exePath});
    line(QStringLiteral("!EXE Version =       %s"), {tab + ReadFileVersion(exePath).text});
    line(QStringLiteral("!Cmdline Param(s) =  %s"), {tab + parameters.join(QStringLiteral(" | "))});
    line(QStringLiteral("!Actual CmdLine =  %s"), {tab + facts.commandLine.join(QLatin1Char(' ')).left(255)});
    line(QStringLiteral("!_RunDir =           %s"), {tab + facts.runDir});
    line(QStringLiteral("!_ModuleName =       %s"), {tab + facts.moduleName});
    line(QStringLiteral("!_ModuleDir =        %s"), {tab + facts.moduleDir});
    line(QStringLiteral("!_ModulePath =        %s"), {tab + facts.modulePath});
    line(QStringLiteral("!Module Version =       %s"), {tab + ReadFileVersion(facts.modulePath).text});
    line(QStringLiteral("-"));
    line(QStringLiteral("!_hhInstalled =      %s"), {tab + (facts.hhInstalled ? QStringLiteral("YES") : QStringLiteral("NO"))});
    line(QStringLiteral("!_hhVerStr =         %s"), {tab + facts.hhVerStr});
    line(QStringLiteral("!_hhFriendlyVerStr = %s"), {tab + facts.hhFriendlyVerStr});
    line(QStringLiteral("-"));
    line(QStringLiteral("!_ieInstalled =      %s"), {tab + (facts.ieInstalled ? QStringLiteral("YES") : QStringLiteral("NO"))});
    line(QStringLiteral("!_ieVerStr =         %s"), {tab + facts.ieVerStr});
    line(QStringLiteral("!_ieFriendlyVerStr = %s"), {tab + facts.ieFriendlyVerStr});
    line(QStringLiteral("="));
}

// ---------------------------------------------------------------- module initialisation

bool InstalledByPackage(const QString& file, const QString& dpkgInfoFolder)
{
    const QString absolute = QFileInfo(file).absoluteFilePath();
    // dpkg names the package's list "torvella.list", or "torvella:<arch>.list" when the
    // package is marked for several architectures. The folder holds thousands of files:
    // one pass over the names, without a file information object for each.
    DIR* folder = opendir(QFile::encodeName(dpkgInfoFolder).constData());
    if (!folder)
        return false;
    QStringList lists;
    while (const dirent* entry = readdir(folder)) {
        const std::string_view name(entry->d_name);
        if (name == "torvella.list" || (name.starts_with("torvella:") && name.ends_with(".list")))
            lists << dpkgInfoFolder + QLatin1Char('/') + QFile::decodeName(entry->d_name);
    }
    closedir(folder);
    for (const QString& path : lists) {
        QFile list(path);
        if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        while (!list.atEnd()) {
            if (QString::fromLocal8Bit(list.readLine()).trimmed() == absolute)
                return true;
        }
    }
    return false;
}

QString LogFolderFor(const QString& moduleDir, bool fromPackage, bool makeFolder)
{
    if (!fromPackage && FolderWritable(moduleDir))
        return moduleDir;
    return StateLogFolder(makeFolder);
}

QString StateLogFolder(bool makeFolder)
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    const QString folder = state + QStringLiteral("/torvella");
    // Without a log to write only an old one is removed: no folder is made for that.
    if (!makeFolder && !QFileInfo::exists(folder))
        return folder;
    if (QDir().mkpath(folder) && FolderWritable(folder))
        return folder;
    return TempFolder();
}

HelpRuntime::HelpRuntime(const QString& modulePath, const QStringList& arguments, const QString& dpkgInfoFolder)
{
    LoadViewerLibrary();

    facts_.commandLine = arguments;
    facts_.modulePath = modulePath;
    facts_.moduleDir = FolderPart(modulePath);
    facts_.moduleName = NamePart(modulePath);
    facts_.runDir = FolderPart(arguments.value(0));
    facts_.diagSwitch =
        QFileInfo::exists(facts_.moduleDir + QStringLiteral("/debug.debug")) || DebugArgumentGiven(arguments);
    // A folder the player cannot write needs no look at the package manager's lists.
    facts_.logFolder = access(QFile::encodeName(facts_.moduleDir).constData(), W_OK) == 0
                           ? LogFolderFor(facts_.moduleDir, InstalledByPackage(modulePath, dpkgInfoFolder),
                                          facts_.diagSwitch)
                           : StateLogFolder(facts_.diagSwitch);

    const FileVersion viewer = ViewerVersion();
    facts_.hhVerStr = viewer.text;
    facts_.hhInstalled = !facts_.hhVerStr.isEmpty();
    facts_.hhFriendlyVerStr = ViewerReleaseName(viewer);
    const FileVersion browser = BrowserVersion();
    facts_.ieVerStr = browser.text;
    facts_.ieInstalled = !facts_.ieVerStr.isEmpty();
    facts_.ieFriendlyVerStr = BrowserReleaseName(browser);

    log_ = std::make_unique<TDLogFile>(facts_.logFolder + LogFileName, facts_.diagSwitch, true, true, false, facts_);
}

HelpRuntime::~HelpRuntime()
{
    log_.reset();
    FreeViewerLibrary();
}

QStringList HelpRuntime::ModuleFolders() const
{
    return modules::ModuleFolders(facts_.moduleDir);
}

void HelpRuntime::LoadViewerLibrary()
{
    if (!LoadViewerAtStart || viewer_)
        return;
    viewer_ = std::make_unique<HelpViewer>(ModuleFolders());
}

void HelpRuntime::FreeViewerLibrary()
{
    viewer_.reset();
}

std::unique_ptr<HelpRuntime> InitModules(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return std::make_unique<HelpRuntime>(exe.isEmpty() ? QFileInfo(arguments.value(0)).absoluteFilePath() : exe,
                                         arguments);
}

} // namespace torvella::help
