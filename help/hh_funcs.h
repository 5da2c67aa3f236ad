#pragma once
// hh_funcs: the help hook between the application's numeric help commands and the
// help viewer, the diagnostic log that traces it, and the module state both share
// (program paths, the diagnostic switch, the detected viewer and browser versions).
#include "help/EnvDetect.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace torvella::help {

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

// ---------------------------------------------------------------- diagnostic log

class TDLogFile {
public:
    // Decides the final path (the temporary folder when the path's folder cannot be
    // written), makes an old file writable and removes it unless keepOld, and writes
    // the header when active and writeHeader. An empty path means LogFolder + LogFileName.
    TDLogFile(const QString& path, bool active, bool stampLines, bool writeHeader, bool keepOld);
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
    void WriteHeaderLines();
};

// Module state, set once by the module initialisation and cleared by its finalisation.
extern QString _ModulePath; // the running executable (/proc/self/exe)
extern QString _ModuleDir;  // its folder, no trailing separator
extern QString _ModuleName; // its file name
extern QString _RunDir;     // folder part of argument 0, no trailing separator
extern QString LogFolder;   // _ModuleDir when writable, else TempFolder()
inline const QString LogFileName = QStringLiteral("/HHDebug.txt");
extern bool DiagSwitch;
extern bool _hhInstalled;
extern QString _hhVerStr;
extern QString _hhFriendlyVerStr;
extern bool _ieInstalled;
extern QString _ieVerStr;
extern QString _ieFriendlyVerStr;
extern TDLogFile* DiagLog; // the process's one log; null outside the module's lifetime

// Creates and deletes "$_Temp_$.$$$" in folder; true when that worked. Reports nothing.
bool FolderWritable(QString folder);
// The temporary folder (TMPDIR or the system default; "/tmp" when that is missing),
// without a trailing separator.
QString TempFolder();
// True when one of the arguments after argument 0 is "/debug" or "-debug", any case.
bool DebugArgumentGiven(const QStringList& arguments);

// Trace and ErrorBox of DiagLog (ErrorBox still shows the box when there is no log).
void LogTrace(const QString& format, const LogArgs& args = {});
void LogErrorBox(const QString& format, const LogArgs& args = {});

// hh_funcs' own initialisation with an explicit module file (tests point it at a
// folder of their own); arguments as argv, argument 0 first.
void InitHhFuncs(const QString& modulePath, const QStringList& arguments);
void FinalizeHhFuncs();

// The program's module initialisation: the viewer layer (hh), then hh_funcs with the
// running executable and argv. May run before the QApplication exists.
void InitModules(int argc, char** argv);
// Reverse order: the log is released, then the viewer layer.
void FinalizeModules();

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
// logged through LogErrorBox and the answer is false.
bool RunExternal(const QString& exe, const QString& parameters);

int HHHelpContext(const QString& helpFile, int32_t context, const QString& windowName, uint8_t hostKind);
int ShowContext(const QString& url, int32_t context, uint8_t hostKind);
void HHShowError(int code);
// Closes every help window of the viewer layer, if the viewer is loaded.
void CloseHelpWindows();

// Takes over the application's help requests for its lifetime (see HelpDispatch.h).
// Only one hook should be alive at a time: destroying it hands the application back
// whatever handler was installed when it was created.
class THookHelpSystem {
public:
    THookHelpSystem(const QString& helpFile, const QString& windowName, uint8_t hostKind);
    ~THookHelpSystem(); // the Destroy step
    THookHelpSystem(const THookHelpSystem&) = delete;
    THookHelpSystem& operator=(const THookHelpSystem&) = delete;

    bool HelpHook(uint16_t command, int32_t data, bool& callHelp);
    int DisplayContext(int32_t context);

    std::function<bool(uint16_t, int32_t, bool&)> SavedHelpHandler;
    QString HelpFilePath;
    QString WindowName;
    uint8_t HostKind = 0;
    QPoint PopupPoint{0, 0};
    std::function<void(int32_t context)> ContextCallback;
    std::function<void(int32_t context, int x, int y)> PopupCallback;
    bool PassToSaved = false;
};

} // namespace torvella::help
