#include "help/hh.h"

#include "help/HelpWindow.h"

#include <QApplication>
#include <QFileInfo>

#include <utility>

namespace torvella::help {

namespace {

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

bool HaveWidgets()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

HelpViewer::HelpViewer(QStringList moduleFolders) : moduleFolders_(std::move(moduleFolders)) {}

HelpViewer::~HelpViewer()
{
    Prune();
    // Widgets may only be deleted while the application object exists.
    if (HaveWidgets()) {
        for (const QPointer<HelpWindow>& w : windows_)
            delete w.data();
    }
}

void HelpViewer::Prune()
{
    std::erase_if(windows_, [](const QPointer<HelpWindow>& w) { return w.isNull(); });
}

void HelpViewer::CloseAll()
{
    Prune();
    std::vector<QPointer<HelpWindow>> windows;
    windows.swap(windows_);
    for (const QPointer<HelpWindow>& w : windows) {
        if (w)
            w->close(); // deletes itself later
    }
}

QWidget* HelpViewer::HtmlHelp(const QString& url, unsigned command, intptr_t data, QWidget* owner)
{
    if (!HaveWidgets())
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
    for (const QPointer<HelpWindow>& w : windows_) {
        if (SameFile(w->HelpFile(), file))
            window = w;
    }
    if (!window) {
        window = new HelpWindow(file, moduleFolders_);
        window->onClose = [this, window] {
            std::erase_if(windows_, [window](const QPointer<HelpWindow>& w) { return w.isNull() || w == window; });
        };
        window->PlaceFor(owner);
        windows_.emplace_back(window);
    }
    window->ShowTopic(static_cast<int>(data));
    return window;
}

QList<QWidget*> HelpViewer::HelpWindows()
{
    Prune();
    QList<QWidget*> result;
    for (const QPointer<HelpWindow>& w : windows_)
        result.append(w.data());
    return result;
}

} // namespace torvella::help
