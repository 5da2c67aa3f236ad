// The help hook and the steps of a help request.
#include "help/hh_funcs.h"

#include "help/HelpDispatch.h"
#include "help/hh.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>

namespace torvella::help {

QString HelpCommandText(uint16_t command)
{
    const char* name = "??";
    switch (command) {
    case 1: name = "HELP_CONTEXT"; break;
    case 2: name = "HELP_QUIT"; break;
    case 3: name = "HELP_INDEX or HELP_CONTENTS"; break;
    case 4: name = "HELP_HELPONHELP"; break;
    case 5: name = "HELP_SETINDEX or HELP_SETCONTENTS"; break;
    case 8: name = "HELP_CONTEXTPOPUP"; break;
    case 9: name = "HELP_FORCEFILE"; break;
    case 10: name = "HELP_CONTEXTMENU"; break;
    case 11: name = "HELP_FINDER"; break;
    case 12: name = "HELP_WM_HELP"; break;
    case 13: name = "HELP_SETPOPUP_POS"; break;
    case 257: name = "HELP_KEY"; break;
    case 258: name = "HELP_COMMAND"; break;
    case 261: name = "HELP_PARTIALKEY"; break;
    case 513: name = "HELP_MULTIKEY"; break;
    case 515: name = "HELP_SETWINPOS"; break;
    default: break;
    }
    return QStringLiteral("%1 (%2)").arg(command).arg(QLatin1String(name));
}

QString BuildTopicUrl(QString file, QString topic, QString window, const QString& prefix)
{
    for (QString* part : {&file, &topic, &window})
        *part = part->replace(QStringLiteral("%20"), QStringLiteral(" ")).trimmed();
    QString url;
    if (!topic.isEmpty()) {
        topic.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!topic.startsWith(QLatin1Char('/')))
            topic.prepend(QLatin1Char('/'));
        url = file.isEmpty() ? topic : file + QStringLiteral("::") + topic;
    } else {
        url = file;
    }
    if (!window.isEmpty())
        url += QLatin1Char('>') + window;
    return prefix + url;
}

QString DescribeLastError(int errorNumber)
{
    // The system's error numbers, grouped by the kind of trouble the player is told about.
    const char* text = "General Failure";
    switch (errorNumber) {
    case ENOENT: text = "File Not Found"; break;
    case ENOTDIR: text = "Path Not Found"; break;
    case EACCES:
    case EPERM: text = "Access Denied"; break;
    case ENOMEM: text = "Insufficient Memory"; break;
    case EROFS: text = "Media Is Write Protected"; break;
    case ENOMEDIUM: text = "Device Not Ready"; break;
    case EBUSY:
    case ETXTBSY: text = "File In Use"; break;
    case ENOSPC:
    case EDQUOT: text = "Disk Full"; break;
    case EIO: text = "Corrupt File Or Disk"; break;
    case ENOEXEC: text = "Not A Windows Or MSDos Program"; break;
    default: break;
    }
    return QStringLiteral("[Error:%1] %2").arg(errorNumber).arg(QLatin1String(text));
}

QString DescribeLastError()
{
    return DescribeLastError(errno);
}

bool RunExternal(HelpRuntime& runtime, const QString& exe, const QString& parameters)
{
    QString program = exe;
    if (!program.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(program);
        if (!found.isEmpty())
            program = found;
    }
    int error = 0;
    const QFileInfo info(program);
    if (!info.exists()) {
        error = ENOENT;
    } else if (info.isDir() || !info.isExecutable()) {
        error = EACCES;
    } else {
        QProcess process;
        process.setProgram(program);
        process.setArguments(QProcess::splitCommand(parameters));
        errno = 0;
        if (process.startDetached())
            return true;
        error = errno;
    }
    runtime.ErrorBox(QStringLiteral("Function ShellExecute(%s)\rReturned: %s"),
                     {exe + QStringLiteral(", ") + parameters, DescribeLastError(error)});
    return false;
}

int HHHelpContext(HelpRuntime& runtime, const QString& helpFile, int32_t context, const QString& windowName,
                  uint8_t hostKind)
{
    runtime.Trace(QStringLiteral("HHHelpContext(\"%s\", %d, \"%s\", %d)"), {helpFile, context, windowName, hostKind});
    const QString url =
        BuildTopicUrl(helpFile, QString(), windowName, hostKind == 2 ? QStringLiteral("mk:@MSITStore:") : QString());
    return ShowContext(runtime, url, context, hostKind);
}

int ShowContext(HelpRuntime& runtime, const QString& url, int32_t context, uint8_t hostKind)
{
    runtime.Trace(QStringLiteral("ShowContext(\"%s\", %d)"), {url, hostKind});
    int code = HH_OK;
    HelpViewer* viewer = runtime.Viewer();
    if (!runtime.Facts().hhInstalled || !viewer) {
        code = HH_NOT_INSTALLED;
    } else if (hostKind == 0) {
        // A new help window goes beside the window the player asked from.
        if (QWidget* window = viewer->HtmlHelp(url, HH_HELP_CONTEXT, context, QApplication::activeWindow())) {
            if (window->isMinimized())
                window->showNormal();
            else
                window->show();
            window->raise();
            window->activateWindow();
        }
    } else if (hostKind == 1 || hostKind == 2) {
        // The stand-alone viewers live in the Windows folder, which this system lacks.
        const QString folder = WindowsFolder();
        const QString exe = folder + (hostKind == 1 ? QStringLiteral("/KeyHH.EXE") : QStringLiteral("/HH.EXE"));
        if (folder.isEmpty() || !QFileInfo(exe).isFile())
            code = hostKind == 1 ? HH_KEYHH_MISSING : HH_HH_MISSING;
        else if (hostKind == 1)
            RunExternal(runtime, exe, QStringLiteral("-win -#mapid %1 %2").arg(context).arg(url));
        else
            RunExternal(runtime, exe, QStringLiteral("-mapid %1 %2").arg(context).arg(url));
    }
    runtime.Trace(QStringLiteral("  returned - %d"), {code});
    return code;
}

void HHShowError(HelpRuntime& runtime, int code)
{
    QString message;
    switch (code) {
    case HH_OK: return;
    case HH_NOT_INSTALLED: message = QStringLiteral("MS Html Help is not installed on this PC."); break;
    case HH_KEYHH_MISSING: message = QStringLiteral("System file KeyHH.EXE was not found in the Windows folder."); break;
    case HH_HH_MISSING: message = QStringLiteral("System file HH.EXE was not found in the Windows folder."); break;
    default: message = QStringLiteral("Unknown error returned by HHHelpContext"); break;
    }
    ShowMessageBox(message);
    runtime.Trace(QStringLiteral("HHShowError(%d), \"%s\""), {code, message});
}

void CloseHelpWindows(HelpRuntime& runtime)
{
    HelpViewer* viewer = runtime.Viewer();
    if (!viewer)
        return;
    viewer->HtmlHelp(QString(), HH_CLOSE_ALL, 0);
    QThread::yieldCurrentThread();
}

// ---------------------------------------------------------------- THookHelpSystem

THookHelpSystem::THookHelpSystem(HelpRuntime& runtime, const QString& helpFile, const QString& windowName,
                                 uint8_t hostKind)
    : HelpFilePath(helpFile)
    , WindowName(windowName)
    , HostKind(hostKind)
    , runtime_(runtime)
{
    SavedHelpHandler = SetApplicationHelpHandler(
        [this](uint16_t command, int32_t data, bool& callHelp) { return HelpHook(command, data, callHelp); });
    PassToSaved = false;
    runtime_.Trace(QStringLiteral("THookHelpSystem.Create(\"%s\",\"%s\", %d)"), {helpFile, windowName, hostKind});
}

THookHelpSystem::~THookHelpSystem()
{
    if (HostKind == 0)
        CloseHelpWindows(runtime_);
    SetApplicationHelpHandler(SavedHelpHandler);
    runtime_.Trace(QStringLiteral("THookHelpSystem.Destroy"));
}

bool THookHelpSystem::HelpHook(uint16_t command, int32_t data, bool& callHelp)
{
    bool result = true;
    runtime_.Trace(QStringLiteral("THookHelpSystem.HelpHook(%s, %d)"), {HelpCommandText(command), data});
    if (PassToSaved && SavedHelpHandler)
        result = SavedHelpHandler(command, data, callHelp);
    callHelp = false;
    switch (command) {
    case 1:
        if (ContextCallback)
            ContextCallback(data);
        else
            DisplayContext(data);
        break;
    case 8:
        if (PopupCallback)
            PopupCallback(data, PopupPoint.x(), PopupPoint.y());
        else
            DisplayContext(data);
        break;
    case 13: {
        const auto bits = static_cast<uint32_t>(data);
        PopupPoint = QPoint(static_cast<int16_t>(bits & 0xFFFF), static_cast<int16_t>(bits >> 16));
        break;
    }
    default:
        callHelp = true;
        break;
    }
    return result;
}

int THookHelpSystem::DisplayContext(int32_t context)
{
    const int code = HHHelpContext(runtime_, HelpFilePath, context, WindowName, HostKind);
    HHShowError(runtime_, code);
    return code;
}

} // namespace torvella::help
