#pragma once
// A desktop of its own for one test: an X server (Xvfb, on a display it picks itself)
// with a real window manager (openbox) drawing frames, placing windows and sending the
// close request of its close button, and the game started there as its own process.
// Looked at and driven through plain Xlib, as a pager or a player's tools would.
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

typedef struct _XDisplay Display;

namespace torvella::testing {

class Desktop {
public:
    Desktop();   // Ok() tells whether it came up; Why() says why not
    ~Desktop();  // the window manager and the server go
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    bool Ok() const { return display_ != nullptr; }
    const QString& Why() const { return why_; }
    QString DisplayName() const { return QStringLiteral(":%1").arg(number_); }

    // The first top-level client window whose title starts with `title`, once the window
    // manager has framed it; 0 when none comes within timeoutMs.
    unsigned long WaitForWindow(const QString& title, int timeoutMs = 15000);
    // The framed top-level client windows (the game's dialogs count), oldest first.
    std::vector<unsigned long> FramedWindows();
    // A framed window that is not among `known`; 0 when none comes within timeoutMs.
    unsigned long WaitForOtherWindow(const std::vector<unsigned long>& known, int timeoutMs = 5000);
    // The outer rectangle on the screen, frame included.
    QRect OuterRect(unsigned long window);
    // The size of the client area inside the frame.
    QSize ClientSize(unsigned long window);
    // Waits until the outer rectangle has not changed for a moment and returns it.
    QRect SettledOuterRect(unsigned long window, int timeoutMs = 3000);
    // The window manager's close (its close button): _NET_CLOSE_WINDOW to the root.
    void CloseByWindowManager(unsigned long window);
    // As the player drags the frame: the outer rectangle to `outer`.
    void MoveResizeOuter(unsigned long window, const QRect& outer);
    // As the player's maximise button: _NET_WM_STATE with both maximised states.
    void Maximize(unsigned long window);
    // One key press and release, sent to `window`, with the modifier state given (X's
    // ShiftMask, ControlMask ...).
    void Key(unsigned long window, const char* keysym, unsigned int modifiers = 0);
    // A left click at a point of the window's client area.
    void Click(unsigned long window, int x, int y);

private:
    bool Start();
    unsigned long Intern(const char* name);
    // A client message about `window` to the window manager, through the root window.
    void MessageToWindowManager(unsigned long window, const char* type, std::initializer_list<long> data);
    struct Extents {
        bool known = false; // the window manager has framed the window
        int left = 0, right = 0, top = 0, bottom = 0;
    };
    Extents FrameExtents(unsigned long window);

    Display* display_ = nullptr;
    int number_ = -1;
    QString why_;
    QProcess server_;
    QProcess wm_;
};

// The game as its own process on a desktop, with a settings folder of its own.
class GameProcess {
public:
    // arguments: the game's command line; extraEnv: further "NAME=value" settings of its environment.
    GameProcess(const Desktop& desktop, const std::filesystem::path& configHome, const QStringList& arguments = {},
                const QStringList& extraEnv = {});
    ~GameProcess(); // a game still running is killed
    qint64 Pid() const { return process_.processId(); }
    void Signal(int signal);
    // Waits for the process to end; false when it is still running after timeoutMs.
    bool WaitForEnd(int timeoutMs);
    int ExitCode() const { return process_.exitCode(); }
    bool Crashed() const { return process_.exitStatus() == QProcess::CrashExit; }
    QString Output() { return QString::fromLocal8Bit(process_.readAllStandardError()); }

private:
    QProcess process_;
};

} // namespace torvella::testing
