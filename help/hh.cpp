#include "help/hh.h"

#include "help/HelpWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>

#include <vector>

namespace torvella::help {

namespace {

// The viewer's state. "Loaded" has no library behind it here (Qt Help is linked in),
// but keeps the order of the program's start and end visible: no window before the
// module initialisation, none after the finalisation.
bool ViewerLibrary = false;

std::vector<QPointer<HelpWindow>>& Windows()
{
    static std::vector<QPointer<HelpWindow>> windows;
    return windows;
}

void Prune()
{
    std::erase_if(Windows(), [](const QPointer<HelpWindow>& w) { return w.isNull(); });
}

// "mk:@MSITStore:C:/x/pomq.qch::/a.htm>main" -> "C:/x/pomq.qch"
QString HelpFileOfUrl(QString url)
{
    for (const QString& prefix : {QStringLiteral("mk:@MSITStore:"), QStringLiteral("ms-its:")}) {
        if (url.startsWith(prefix, Qt::CaseInsensitive)) {
            url = url.mid(prefix.size());
            break;
        }
    }
    const qsizetype window = url.indexOf(QLatin1Char('>'));
    if (window >= 0)
        url.truncate(window);
    const qsizetype topic = url.indexOf(QStringLiteral("::"));
    if (topic >= 0)
        url.truncate(topic);
    return url;
}

bool SameFile(const QString& a, const QString& b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

void CloseAll()
{
    Prune();
    std::vector<QPointer<HelpWindow>> windows;
    windows.swap(Windows());
    for (const QPointer<HelpWindow>& w : windows) {
        if (w)
            w->close(); // deletes itself later
    }
}

} // namespace

// Called by a help window that is closing.
void ForgetHelpWindow(HelpWindow* window)
{
    std::erase_if(Windows(), [window](const QPointer<HelpWindow>& w) { return w.isNull() || w == window; });
}

void LoadViewerLibrary()
{
    if (!LoadViewerAtStart || ViewerLibrary)
        return;
    ViewerLibrary = true;
}

void FreeViewerLibrary()
{
    if (!ViewerLibrary)
        return;
    Prune();
    std::vector<QPointer<HelpWindow>> windows;
    windows.swap(Windows());
    // Widgets may only be deleted while the application object exists.
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        for (const QPointer<HelpWindow>& w : windows)
            delete w.data();
    }
    ViewerLibrary = false;
}

bool ViewerLibraryLoaded()
{
    return ViewerLibrary;
}

QWidget* HtmlHelp(const QString& url, unsigned command, intptr_t data)
{
    if (!ViewerLibrary || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    if (command == HH_CLOSE_ALL) {
        CloseAll();
        return nullptr;
    }
    if (command != HH_HELP_CONTEXT)
        return nullptr;

    const QString file = HelpFileOfUrl(url);
    Prune();
    HelpWindow* window = nullptr;
    for (const QPointer<HelpWindow>& w : Windows()) {
        if (SameFile(w->HelpFile(), file))
            window = w;
    }
    if (!window) {
        window = new HelpWindow(file);
        Windows().emplace_back(window);
    }
    window->ShowTopic(static_cast<int>(data));
    return window;
}

QList<QWidget*> HelpWindows()
{
    Prune();
    QList<QWidget*> result;
    for (const QPointer<HelpWindow>& w : Windows())
        result.append(w.data());
    return result;
}

} // namespace torvella::help
