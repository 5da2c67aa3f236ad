// The diagnostic log and the module initialisation of hh_funcs.
#include "help/hh.h"
#include "help/hh_funcs.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTextStream>

#include <cstdio>
#include <sys/utsname.h>
#include <utility>

namespace torvella::help {

QString _ModulePath;
QString _ModuleDir;
QString _ModuleName;
QString _RunDir;
QString LogFolder;
bool DiagSwitch = false;
bool _hhInstalled = false;
QString _hhVerStr;
QString _hhFriendlyVerStr;
bool _ieInstalled = false;
QString _ieVerStr;
QString _ieFriendlyVerStr;
TDLogFile* DiagLog = nullptr;

namespace {

// The command line as the program received it; the header describes it.
QStringList CommandLine;

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

TDLogFile::TDLogFile(const QString& path, bool active, bool stampLines, bool writeHeader, bool keepOld)
{
    QString file = path.isEmpty() ? LogFolder + LogFileName : path;
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
        WriteHeaderLines();
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

void TDLogFile::WriteHeaderLines()
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

    const QString exePath = CommandLine.value(0);
    const QStringList parameters = CommandLine.mid(1);

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
    line(QStringLiteral("!Actual CmdLine =  %s"), {tab + CommandLine.join(QLatin1Char(' ')).left(255)});
    line(QStringLiteral("!_RunDir =           %s"), {tab + _RunDir});
    line(QStringLiteral("!_ModuleName =       %s"), {tab + _ModuleName});
    line(QStringLiteral("!_ModuleDir =        %s"), {tab + _ModuleDir});
    line(QStringLiteral("!_ModulePath =        %s"), {tab + _ModulePath});
    line(QStringLiteral("!Module Version =       %s"), {tab + ReadFileVersion(_ModulePath).text});
    line(QStringLiteral("-"));
    line(QStringLiteral("!_hhInstalled =      %s"), {tab + (_hhInstalled ? QStringLiteral("YES") : QStringLiteral("NO"))});
    line(QStringLiteral("!_hhVerStr =         %s"), {tab + _hhVerStr});
    line(QStringLiteral("!_hhFriendlyVerStr = %s"), {tab + _hhFriendlyVerStr});
    line(QStringLiteral("-"));
    line(QStringLiteral("!_ieInstalled =      %s"), {tab + (_ieInstalled ? QStringLiteral("YES") : QStringLiteral("NO"))});
    line(QStringLiteral("!_ieVerStr =         %s"), {tab + _ieVerStr});
    line(QStringLiteral("!_ieFriendlyVerStr = %s"), {tab + _ieFriendlyVerStr});
    line(QStringLiteral("="));
}

void LogTrace(const QString& format, const LogArgs& args)
{
    if (DiagLog)
        DiagLog->Trace(format, args);
}

void LogErrorBox(const QString& format, const LogArgs& args)
{
    if (DiagLog)
        DiagLog->ErrorBox(format, args);
    else
        ShowMessageBox(FormatText(format, args));
}

// ---------------------------------------------------------------- module initialisation

void InitHhFuncs(const QString& modulePath, const QStringList& arguments)
{
    CommandLine = arguments;
    _ModulePath = modulePath;
    _ModuleDir = FolderPart(modulePath);
    _ModuleName = NamePart(modulePath);
    _RunDir = FolderPart(arguments.value(0));

    LogFolder = FolderWritable(_ModuleDir) ? _ModuleDir : TempFolder();

    DiagSwitch = QFileInfo::exists(_ModuleDir + QStringLiteral("/debug.debug")) || DebugArgumentGiven(arguments);

    const FileVersion viewer = ViewerVersion();
    _hhVerStr = viewer.text;
    _hhInstalled = !_hhVerStr.isEmpty();
    _hhFriendlyVerStr = ViewerReleaseName(viewer);
    const FileVersion browser = BrowserVersion();
    _ieVerStr = browser.text;
    _ieInstalled = !_ieVerStr.isEmpty();
    _ieFriendlyVerStr = BrowserReleaseName(browser);

    delete DiagLog;
    DiagLog = new TDLogFile(LogFolder + LogFileName, DiagSwitch, true, true, false);
}

void FinalizeHhFuncs()
{
    delete DiagLog;
    DiagLog = nullptr;
    _ModulePath.clear();
    _ModuleDir.clear();
    _ModuleName.clear();
    _RunDir.clear();
    LogFolder.clear();
    DiagSwitch = false;
    _hhInstalled = false;
    _hhVerStr.clear();
    _hhFriendlyVerStr.clear();
    _ieInstalled = false;
    _ieVerStr.clear();
    _ieFriendlyVerStr.clear();
    CommandLine.clear();
}

void InitModules(int argc, char** argv)
{
    LoadViewerLibrary();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    InitHhFuncs(exe.isEmpty() ? QFileInfo(arguments.value(0)).absoluteFilePath() : exe, arguments);
}

void FinalizeModules()
{
    FinalizeHhFuncs();
    FreeViewerLibrary();
}

} // namespace torvella::help
