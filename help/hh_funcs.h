#pragma once
// hh_funcs: the help hook between the application's numeric help commands and the
// help viewer, the diagnostic log that traces it, and what both learn once about the
// program and the machine (program paths, the diagnostic switch, the detected viewer
// and browser versions). All of it lives in one HelpRuntime, made by the program's
// module initialisation and handed to whatever needs it.
#include "help/EnvDetect.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class QWidget;

namespace torvella::help {

class HelpViewer;

// ---------------------------------------------------------------- formatting

// One argument of a log or message format: a text or an integer.
class LogArg {
public:
    LogArg(const QString& text) : isText_(true), text_(text) {}
    LogArg(const char* text) : isText_(true), text_(QString::fromUtf8(text)) {}
    LogArg(int number) : number_(number) {}
    LogArg(long number) : number_(number) {}
    LogArg(long long number) : number_(number) {}
    LogArg(unsigned number) : number_(number) {}

    // %s of a number gives its decimal text, %d of a text gives the text itself.
    QString Text() const { return isText_ ? text_ : QString::number(number_); }

private:
    bool isText_ = false;
    QString text_;
    long long number_ = 0;
};
using LogArgs = std::vector<LogArg>;

// Fills %s and %d from args in order; "%%" is one percent sign. A placeholder
// without an argument is left out, any other percent sequence is copied as it stands.
QString FormatText(const QString& format, const LogArgs& args);

// ---------------------------------------------------------------- message boxes

// Shows one warning message with an OK button, no owner window, captioned with the
// application title. Tests replace it to observe messages without a modal dialog.
using MessageBoxFunc = std::function<void(const QString& caption, const QString& text)>;
MessageBoxFunc SetMessageBoxFunc(MessageBoxFunc f); // returns the previous one
void ShowMessageBox(const QString& text);

// ---------------------------------------------------------------- what the start learns

// Set once by the module initialisation; the log's header describes them.
struct ProgramFacts {
    QStringList commandLine; // as the program received it, argument 0 first
    QString modulePath;      // the running executable (/proc/self/exe)
    QString moduleDir;       // its folder, no trailing separator
    QString moduleName;      // its file name
    QString runDir;          // folder part of argument 0, no trailing separator
    QString logFolder;       // where HHDebug.txt goes (see LogFolderFor)
    bool diagSwitch = false;
    bool hhInstalled = false;
    QString hhVerStr;
    QString hhFriendlyVerStr;
    bool ieInstalled = false;
    QString ieVerStr;
    QString ieFriendlyVerStr;
};

inline const QString LogFileName = QStringLiteral("/HHDebug.txt");

// Creates and deletes "$_Temp_$.$$$" in folder; true when that worked. Reports nothing.
bool FolderWritable(QString folder);
// The temporary folder (TMPDIR or the system default; "/tmp" when that is missing),
// without a trailing separator.
QString TempFolder();
// True when one of the arguments after argument 0 is "/debug" or "-debug", any case.
bool DebugArgumentGiven(const QStringList& arguments);

// Whether the package manager installed the file: dpkg's list of the package "torvella"
// in dpkgInfoFolder names it.
bool InstalledByPackage(const QString& file, const QString& dpkgInfoFolder = QStringLiteral("/var/lib/dpkg/info"));

// The folder of the diagnostic log. The program folder only when the player may write
// there and no package owns the program, so a log never lands among files the package
// manager removes; otherwise $XDG_STATE_HOME/torvella (made when missing and makeFolder,
// that is when a log is to be written), and the temporary folder when that cannot be had.
QString LogFolderFor(const QString& moduleDir, bool fromPackage, bool makeFolder);
// $XDG_STATE_HOME/torvella, or the temporary folder (see LogFolderFor).
QString StateLogFolder(bool makeFolder);

// ---------------------------------------------------------------- diagnostic log

class TDLogFile {
public:
    // Decides the final path (the temporary folder when the path's folder cannot be
    // written), makes an old file writable and removes it unless keepOld, and writes
    // the header (describing facts) when active and writeHeader. An empty path means
    // the facts' log folder + LogFileName.
    TDLogFile(const QString& path, bool active, bool stampLines, bool writeHeader, bool keepOld,
              const ProgramFacts& facts = {});
    ~TDLogFile() = default;
    TDLogFile(const TDLogFile&) = delete;
    TDLogFile& operator=(const TDLogFile&) = delete;

    // Writes one line whatever Active says; argCount -1 writes format unchanged.
    // A file that cannot be opened drops the line silently.
    void AppendLine(const QString& format, const LogArgs& args, int argCount);
    // AppendLine only when Active.
    void Trace(const QString& format, const LogArgs& args = {});
    // Formats once, always shows the text, and when Active logs that very text.
    void ErrorBox(const QString& format, const LogArgs& args = {});

    QString LogPath;
    bool Active = false;
    bool StampLines = true;
    bool WriteHeader = true;
    bool KeepOld = false;

private:
    void WriteHeaderLines(const ProgramFacts& facts);
};

// ---------------------------------------------------------------- the runtime

// The help and diagnostics of one run: the facts, the one diagnostic log and the help
// viewer. Made before the application object may exist; released after the windows.
class HelpRuntime {
public:
    // The viewer layer first (hh), then hh_funcs with modulePath as the program file
    // and arguments as argv (tests point modulePath at a folder of their own).
    // dpkgInfoFolder is where the package manager's file lists are looked for.
    HelpRuntime(const QString& modulePath, const QStringList& arguments,
                const QString& dpkgInfoFolder = QStringLiteral("/var/lib/dpkg/info"));
    ~HelpRuntime(); // the log goes, then the viewer
    HelpRuntime(const HelpRuntime&) = delete;
    HelpRuntime& operator=(const HelpRuntime&) = delete;

    const ProgramFacts& Facts() const { return facts_; }
    TDLogFile& Log() { return *log_; }

    // The viewer layer: loaded with the runtime; while it is not, no help window opens
    // and a help request answers "not installed".
    void LoadViewerLibrary();
    void FreeViewerLibrary(); // closes any help window left
    HelpViewer* Viewer() { return viewer_.get(); }
    // Folders searched for the help module: the program folder, then $TORVELLA_MODULE_DIR.
    QStringList ModuleFolders() const;

    // The log's Trace and ErrorBox.
    void Trace(const QString& format, const LogArgs& args = {}) { log_->Trace(format, args); }
    void ErrorBox(const QString& format, const LogArgs& args = {}) { log_->ErrorBox(format, args); }

private:
    ProgramFacts facts_;
    std::unique_ptr<TDLogFile> log_;
    std::unique_ptr<HelpViewer> viewer_;
};

// The program's module initialisation with the running executable and argv.
std::unique_ptr<HelpRuntime> InitModules(int argc, char** argv);

// ---------------------------------------------------------------- help hook

// Error codes of the help requests.
enum HelpError : int {
    HH_OK = 0,
    HH_NOT_INSTALLED = 1,
    HH_KEYHH_MISSING = 2,
    HH_HH_MISSING = 3,
};

// "1 (HELP_CONTEXT)", "99 (??)"
QString HelpCommandText(uint16_t command);

QString BuildTopicUrl(QString file, QString topic, QString window, const QString& prefix);

// Error description of a system error number: "[Error:2] File Not Found".
QString DescribeLastError(int errorNumber);
QString DescribeLastError(); // of errno

// Starts exe with the parameter text, detached. On failure the error is shown and
// logged through the runtime's ErrorBox and the answer is false.
bool RunExternal(HelpRuntime& runtime, const QString& exe, const QString& parameters);

int HHHelpContext(HelpRuntime& runtime, const QString& helpFile, int32_t context, const QString& windowName,
                  uint8_t hostKind);
int ShowContext(HelpRuntime& runtime, const QString& url, int32_t context, uint8_t hostKind);
void HHShowError(HelpRuntime& runtime, int code);
// Closes every help window of the viewer layer, if the viewer is loaded.
void CloseHelpWindows(HelpRuntime& runtime);

// Takes over the application's help requests for its lifetime (see HelpDispatch.h).
// Only one hook should be alive at a time: destroying it hands the application back
// whatever handler was installed when it was created.
class THookHelpSystem {
public:
    THookHelpSystem(HelpRuntime& runtime, const QString& helpFile, const QString& windowName, uint8_t hostKind);
    ~THookHelpSystem(); // the Destroy step
    THookHelpSystem(const THookHelpSystem&) = delete;
    THookHelpSystem& operator=(const THookHelpSystem&) = delete;

    bool HelpHook(uint16_t command, int32_t data, bool& callHelp);
    int DisplayContext(int32_t context);
    HelpRuntime& Runtime() { return runtime_; }

    std::function<bool(uint16_t, int32_t, bool&)> SavedHelpHandler;
    QString HelpFilePath;
    QString WindowName;
    uint8_t HostKind = 0;
    QPoint PopupPoint{0, 0};
    std::function<void(int32_t context)> ContextCallback;
    std::function<void(int32_t context, int x, int y)> PopupCallback;
    bool PassToSaved = false;

private:
    HelpRuntime& runtime_;
};

} // namespace torvella::help
