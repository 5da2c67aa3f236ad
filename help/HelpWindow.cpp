#include "help/HelpWindow.h"

#include "help/hh.h"

#include <QCloseEvent>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QHelpLink>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <unistd.h>

namespace torvella::help {

void ForgetHelpWindow(HelpWindow* window); // hh.cpp

namespace {

QString FolderIfWritable(const QString& folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable() ? folder : QString();
}

} // namespace

QString HelpCollectionPath(const QString& helpFile)
{
    QString folder = FolderIfWritable(
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help"));
    if (folder.isEmpty())
        folder = FolderIfWritable(QDir::tempPath() + QStringLiteral("/torvella-help-%1").arg(getuid()));
    if (folder.isEmpty())
        folder = QDir::tempPath();
    // One collection per help file, so two installations never share one.
    const QString absolute = QFileInfo(helpFile).absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return folder + QLatin1Char('/') + QFileInfo(helpFile).completeBaseName() + QLatin1Char('-') +
           QString::fromLatin1(hash) + QStringLiteral(".qhc");
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (engine_ && url.scheme() == QLatin1String("qthelp")) {
        const QByteArray data = engine_->fileData(url);
        if (data.isEmpty())
            return {};
        if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
            return QString::fromUtf8(data);
        return data;
    }
    return QTextBrowser::loadResource(type, name);
}

HelpWindow::HelpWindow(const QString& helpFile)
    : helpFile_(helpFile)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The game ends when its main window closes, whatever help is still open; the help
    // windows are closed as the main window goes.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Torvella"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new HelpBrowser(this);
    browser_->setOpenExternalLinks(true);
    browser_->document()->setDocumentMargin(14);
    layout->addWidget(browser_);
    resize(680, 720);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { UpdateTitle(); });
}

bool HelpWindow::SetUpEngine()
{
    if (engine_)
        return true;
    const QFileInfo file(helpFile_);
    if (!file.isFile()) {
        problem_.clear();
        return false;
    }
    const QString collection = HelpCollectionPath(helpFile_);
    // A fresh collection every time: the help file may have been replaced since.
    QFile::remove(collection);
    auto* engine = new QHelpEngineCore(collection, this);
    engine->setReadOnly(false);
    if (!engine->setupData() || !engine->registerDocumentation(file.absoluteFilePath())) {
        problem_ = engine->error();
        delete engine;
        return false;
    }
    engine_ = engine;
    browser_->SetEngine(engine_);
    return true;
}

void HelpWindow::ShowTopic(int topic)
{
    if (!SetUpEngine()) {
        const QString path = helpFile_.toHtmlEscaped();
        if (!QFileInfo(helpFile_).isFile())
            ShowProblem(QStringLiteral("Die Hilfedatei <b>%1</b> wurde nicht gefunden.").arg(path),
                        QStringLiteral("The help file <b>%1</b> was not found.").arg(path));
        else
            ShowProblem(QStringLiteral("Die Hilfedatei <b>%1</b> kann nicht gelesen werden (%2).")
                            .arg(path, problem_.toHtmlEscaped()),
                        QStringLiteral("The help file <b>%1</b> cannot be read (%2).")
                            .arg(path, problem_.toHtmlEscaped()));
        return;
    }
    const QList<QHelpLink> links = engine_->documentsForIdentifier(QString::number(topic));
    if (links.isEmpty()) {
        const QString path = helpFile_.toHtmlEscaped();
        ShowProblem(QStringLiteral("Das Thema %1 steht nicht in der Hilfedatei <b>%2</b>.").arg(topic).arg(path),
                    QStringLiteral("Topic %1 is not in the help file <b>%2</b>.").arg(topic).arg(path));
        return;
    }
    browser_->setSource(links.first().url);
    UpdateTitle();
}

void HelpWindow::ShowProblem(const QString& germanText, const QString& englishText)
{
    browser_->setHtml(QStringLiteral("<html><head><title>Torvella – Hilfe / Help</title></head><body>"
                                     "<h2>Hilfe nicht verfügbar</h2><p>%1</p>"
                                     "<h2>Help not available</h2><p>%2</p></body></html>")
                          .arg(germanText, englishText));
    UpdateTitle();
}

void HelpWindow::UpdateTitle()
{
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Torvella") : title);
}

void HelpWindow::closeEvent(QCloseEvent* event)
{
    ForgetHelpWindow(this);
    QWidget::closeEvent(event);
}

} // namespace torvella::help
