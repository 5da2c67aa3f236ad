#include "Desktop.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <vector>

namespace torvella::testing {

namespace {

// A window listed a moment ago may be gone when it is asked about (a dialog closes, the
// game quits): Xlib's default handler would end the test program for that. Such a
// window simply reads as having no properties; other errors are told, not fatal.
int TolerateGoneWindows(Display*, XErrorEvent* e)
{
    if (e->error_code != BadWindow && e->error_code != BadDrawable)
        std::fprintf(stderr, "X error %d (request %d) on 0x%lx\n", int(e->error_code), int(e->request_code),
                     e->resourceid);
    return 0;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QThread::msleep(10);
    }
    return true;
}

} // namespace

Desktop::Desktop()
{
    if (!Start() && display_) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

bool Desktop::Start()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (xvfb.isEmpty() || openbox.isEmpty()) {
        why_ = QStringLiteral("Xvfb or openbox is not installed (scripts/packages.txt installs both)");
        return false;
    }
    // The server picks a free display and writes its number to standard output.
    server_.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                         QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                         QStringLiteral("tcp")});
    QByteArray number;
    WaitUntil([&] {
        server_.waitForReadyRead(20);
        number += server_.readAllStandardOutput();
        return number.contains('\n') || server_.state() == QProcess::NotRunning;
    }, 10000);
    bool ok = false;
    number_ = number.trimmed().toInt(&ok);
    if (!ok) {
        why_ = QStringLiteral("Xvfb did not start: ") + QString::fromLocal8Bit(server_.readAllStandardError());
        return false;
    }
    XSetErrorHandler(TolerateGoneWindows);
    display_ = XOpenDisplay(DisplayName().toLocal8Bit().constData());
    if (!display_) {
        why_ = QStringLiteral("cannot connect to the test's X server");
        return false;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), DisplayName());
    wm_.setProcessEnvironment(env);
    wm_.start(openbox, {QStringLiteral("--sm-disable")});
    // The window manager is ready once it has announced itself on the root window.
    const unsigned long check = Intern("_NET_SUPPORTING_WM_CHECK");
    const bool up = WaitUntil([&] {
        Atom type;
        int format;
        unsigned long count = 0, after;
        unsigned char* data = nullptr;
        XGetWindowProperty(display_, DefaultRootWindow(display_), check, 0, 1, False, XA_WINDOW, &type, &format,
                           &count, &after, &data);
        if (data)
            XFree(data);
        return count == 1 || wm_.state() == QProcess::NotRunning;
    }, 10000);
    if (!up || wm_.state() == QProcess::NotRunning) {
        why_ = QStringLiteral("openbox did not start: ") + QString::fromLocal8Bit(wm_.readAllStandardError());
        return false;
    }
    return true;
}

Desktop::~Desktop()
{
    if (display_)
        XCloseDisplay(display_);
    for (QProcess* p : {&wm_, &server_}) {
        if (p->state() == QProcess::NotRunning)
            continue;
        p->terminate();
        if (!p->waitForFinished(2000))
            p->kill();
        p->waitForFinished(2000);
    }
}

unsigned long Desktop::Intern(const char* name)
{
    return XInternAtom(display_, name, False);
}

std::vector<unsigned long> Desktop::FramedWindows()
{
    // The window manager lists the windows it manages on the root window.
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, DefaultRootWindow(display_), Intern("_NET_CLIENT_LIST"), 0, 1024, False, XA_WINDOW,
                       &type, &format, &count, &after, &data);
    std::vector<unsigned long> windows;
    for (unsigned long i = 0; i < count; ++i)
        windows.push_back(reinterpret_cast<const Window*>(data)[i]);
    if (data)
        XFree(data);
    return windows;
}

unsigned long Desktop::WaitForOtherWindow(const std::vector<unsigned long>& known, int timeoutMs)
{
    unsigned long found = 0;
    WaitUntil([&] {
        for (unsigned long w : FramedWindows())
            if (std::find(known.begin(), known.end(), w) == known.end() && FrameExtents(w).known)
                found = w;
        return found != 0;
    }, timeoutMs);
    return found;
}

unsigned long Desktop::WaitForWindow(const QString& title, int timeoutMs)
{
    Window found = 0;
    WaitUntil([&] {
        for (unsigned long w : FramedWindows()) {
            Atom type;
            int format;
            unsigned long n = 0, after;
            unsigned char* name = nullptr;
            XGetWindowProperty(display_, w, Intern("_NET_WM_NAME"), 0, 256, False, Intern("UTF8_STRING"), &type,
                               &format, &n, &after, &name);
            if (name && QString::fromUtf8(reinterpret_cast<const char*>(name), int(n)).startsWith(title))
                found = w;
            if (name)
                XFree(name);
            if (found)
                break;
        }
        return found != 0 && FrameExtents(found).known;
    }, timeoutMs);
    return found;
}

Desktop::Extents Desktop::FrameExtents(unsigned long window)
{
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, window, Intern("_NET_FRAME_EXTENTS"), 0, 4, False, XA_CARDINAL, &type, &format,
                       &count, &after, &data);
    Extents e;
    if (count == 4) {
        const auto* v = reinterpret_cast<const long*>(data);
        e = {true, int(v[0]), int(v[1]), int(v[2]), int(v[3])};
    }
    if (data)
        XFree(data);
    return e;
}

QRect Desktop::OuterRect(unsigned long window)
{
    XWindowAttributes attr;
    if (!XGetWindowAttributes(display_, window, &attr))
        return {};
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    const Extents e = FrameExtents(window);
    return QRect(x - e.left, y - e.top, attr.width + e.left + e.right, attr.height + e.top + e.bottom);
}

QSize Desktop::ClientSize(unsigned long window)
{
    XWindowAttributes attr;
    if (!XGetWindowAttributes(display_, window, &attr))
        return {};
    return {attr.width, attr.height};
}

QRect Desktop::SettledOuterRect(unsigned long window, int timeoutMs)
{
    QRect last = OuterRect(window);
    QElapsedTimer steady;
    steady.start();
    WaitUntil([&] {
        const QRect now = OuterRect(window);
        if (now != last) {
            last = now;
            steady.restart();
        }
        return steady.elapsed() >= 300;
    }, timeoutMs);
    return last;
}

void Desktop::MessageToWindowManager(unsigned long window, const char* type, std::initializer_list<long> data)
{
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = Intern(type);
    e.xclient.format = 32;
    int i = 0;
    for (long d : data)
        e.xclient.data.l[i++] = d;
    XSendEvent(display_, DefaultRootWindow(display_), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(display_);
}

void Desktop::CloseByWindowManager(unsigned long window)
{
    // 2: from a pager, the player's own request
    MessageToWindowManager(window, "_NET_CLOSE_WINDOW", {CurrentTime, 2});
}

void Desktop::MoveResizeOuter(unsigned long window, const QRect& outer)
{
    // Position of the frame (north-west gravity), size of the client inside it.
    const Extents ext = FrameExtents(window);
    MessageToWindowManager(window, "_NET_MOVERESIZE_WINDOW",
                           {NorthWestGravity | (0xF << 8) | (2 << 12), outer.x(), outer.y(),
                            outer.width() - ext.left - ext.right, outer.height() - ext.top - ext.bottom});
}

void Desktop::Maximize(unsigned long window)
{
    // 1: add the states; 2: the player's own request
    MessageToWindowManager(window, "_NET_WM_STATE",
                           {1, long(Intern("_NET_WM_STATE_MAXIMIZED_VERT")),
                            long(Intern("_NET_WM_STATE_MAXIMIZED_HORZ")), 2});
}

void Desktop::Key(unsigned long window, const char* keysym, unsigned int modifiers)
{
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysym));
    for (int type : {KeyPress, KeyRelease}) {
        XEvent e = {};
        e.xkey.type = type;
        e.xkey.display = display_;
        e.xkey.window = window;
        e.xkey.root = DefaultRootWindow(display_);
        e.xkey.time = CurrentTime;
        e.xkey.same_screen = True;
        e.xkey.keycode = code;
        e.xkey.state = modifiers;
        XSendEvent(display_, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &e);
    }
    XFlush(display_);
}

void Desktop::Click(unsigned long window, int x, int y)
{
    for (int type : {ButtonPress, ButtonRelease}) {
        XEvent e = {};
        e.xbutton.type = type;
        e.xbutton.display = display_;
        e.xbutton.window = window;
        e.xbutton.root = DefaultRootWindow(display_);
        e.xbutton.time = CurrentTime;
        e.xbutton.x = x;
        e.xbutton.y = y;
        e.xbutton.button = Button1;
        e.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
        e.xbutton.same_screen = True;
        XSendEvent(display_, window, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &e);
    }
    XFlush(display_);
}

// ---------------------------------------------------------------- the game's process

GameProcess::GameProcess(const Desktop& desktop, const std::filesystem::path& configHome, const QStringList& arguments,
                         const QStringList& extraEnv)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), desktop.DisplayName());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(configHome.string()));
    // journal and statistics, as FreshConfig places them
    env.insert(QStringLiteral("XDG_STATE_HOME"), QString::fromStdString((configHome / "state").string()));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString((configHome / "data").string()));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("SESSION_MANAGER"));
    for (const QString& setting : extraEnv)
        env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    process_.setProcessEnvironment(env);
    process_.start(QStringLiteral(TORVELLA_GAME), arguments);
    process_.waitForStarted(5000);
}

GameProcess::~GameProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

void GameProcess::Signal(int signal)
{
    ::kill(pid_t(process_.processId()), signal);
}

bool GameProcess::WaitForEnd(int timeoutMs)
{
    return process_.state() == QProcess::NotRunning || process_.waitForFinished(timeoutMs);
}

} // namespace torvella::testing
