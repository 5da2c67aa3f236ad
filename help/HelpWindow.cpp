#include "help/HelpWindow.h"

#include "help/HelpReader.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>
#include <unistd.h>

namespace torvella::help {

namespace {

constexpr QSize kHelpSize(680, 720);

QString FolderIfWritable(const QString& folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable() ? folder : QString();
}

// "qthelp://ns/rules/images/board.png" -> ".../images/board@2x.png"
QUrl DoubleSizeUrl(QUrl url)
{
    QString path = url.path();
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    path.insert(dot > slash ? dot : path.size(), QStringLiteral("@2x"));
    url.setPath(path);
    return url;
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

QPoint HelpPlacement(const QRect& gameFrame, const QSize& helpFrame, const QRect& available)
{
    const int top = std::clamp(gameFrame.top(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - helpFrame.height()));
    if (gameFrame.right() + 1 + helpFrame.width() <= available.right() + 1)
        return {gameFrame.right() + 1, top};
    if (gameFrame.left() - helpFrame.width() >= available.left())
        return {gameFrame.left() - helpFrame.width(), top};
    const QPoint centred(gameFrame.left() + (gameFrame.width() - helpFrame.width()) / 2,
                         gameFrame.top() + (gameFrame.height() - helpFrame.height()) / 2);
    return {std::clamp(centred.x(), available.left(), std::max(available.left(), available.right() + 1 - helpFrame.width())),
            std::clamp(centred.y(), available.top(), std::max(available.top(), available.bottom() + 1 - helpFrame.height()))};
}

// ---------------------------------------------------------------- HelpBrowser

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent)
{
    // Links are followed by FollowLink only: left to itself, the browser hands every page
    // of the help file ("qthelp://") to the desktop, which has nothing to open it with.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) { FollowLink(link); });
}

void HelpBrowser::FollowLink(const QUrl& link)
{
    const QUrl url = link.isRelative() ? source().resolved(link) : link;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"))
        QDesktopServices::openUrl(url);
    else if (scheme == QLatin1String("qthelp") && reader_)
        setSource(url);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (!reader_ || url.scheme() != QLatin1String("qthelp"))
        return QTextBrowser::loadResource(type, name);
    if (type == QTextDocument::ImageResource && devicePixelRatio() > 1.0) {
        QImage sharp;
        if (sharp.loadFromData(reader_->FileData(DoubleSizeUrl(url)))) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    const QByteArray data = reader_->FileData(url);
    if (data.isEmpty())
        return {};
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
        return QString::fromUtf8(data);
    return data;
}

// ---------------------------------------------------------------- HelpWindow

HelpWindow::HelpWindow(const QString& helpFile, const QStringList& moduleFolders)
    : helpFile_(helpFile), moduleFolders_(moduleFolders)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The game ends when its main window closes, whatever help is still open; the help
    // windows are closed as the main window goes.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Torvella"));
    setWindowIcon(QApplication::windowIcon());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new HelpBrowser(this);
    browser_->document()->setDocumentMargin(14);
    layout->addWidget(browser_);
    resize(kHelpSize);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { UpdateTitle(); });
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::PlaceFor(const QWidget* game)
{
    if (!game)
        return;
    setWindowIcon(game->windowIcon());
    const QScreen* screen = game->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The frame is not known before the window manager has framed the window: take the
    // game's, which the same window manager drew.
    const QRect gameFrame = game->frameGeometry();
    const QMargins frame(game->geometry().left() - gameFrame.left(), game->geometry().top() - gameFrame.top(),
                         gameFrame.right() - game->geometry().right(), gameFrame.bottom() - game->geometry().bottom());
    const QSize size(width(), std::min(height(), available.height() - frame.top() - frame.bottom()));
    resize(size);
    move(HelpPlacement(gameFrame, size.grownBy(frame), available));
}

bool HelpWindow::SetUpReader()
{
    if (reader_)
        return true;
    problem_.clear();
    if (!QFileInfo(helpFile_).isFile())
        return false;
    std::unique_ptr<HelpReader> reader = LoadHelpReader(moduleFolders_, moduleProblem_);
    if (!reader)
        return false;
    moduleProblem_.clear();
    if (!reader->Open(helpFile_, HelpCollectionPath(helpFile_), problem_))
        return false;
    reader_ = std::move(reader);
    browser_->SetReader(reader_.get());
    return true;
}

void HelpWindow::ShowTopic(int topic)
{
    const QString path = helpFile_.toHtmlEscaped();
    if (!SetUpReader()) {
        if (!QFileInfo(helpFile_).isFile())
            ShowProblem(QStringLiteral("Die Hilfedatei <b>%1</b> wurde nicht gefunden.").arg(path),
                        QStringLiteral("The help file <b>%1</b> was not found.").arg(path));
        else if (!moduleProblem_.isEmpty())
            ShowProblem(QStringLiteral("Das Hilfemodul fehlt oder kann nicht geladen werden (%1).")
                            .arg(moduleProblem_.toHtmlEscaped()),
                        QStringLiteral("The help module is missing or cannot be loaded (%1).")
                            .arg(moduleProblem_.toHtmlEscaped()));
        else
            ShowProblem(QStringLiteral("Die Hilfedatei <b>%1</b> kann nicht gelesen werden (%2).")
                            .arg(path, problem_.toHtmlEscaped()),
                        QStringLiteral("The help file <b>%1</b> cannot be read (%2).")
                            .arg(path, problem_.toHtmlEscaped()));
        return;
    }
    const QUrl page = reader_->TopicUrl(topic);
    if (page.isEmpty()) {
        ShowProblem(QStringLiteral("Das Thema %1 steht nicht in der Hilfedatei <b>%2</b>.").arg(topic).arg(path),
                    QStringLiteral("Topic %1 is not in the help file <b>%2</b>.").arg(topic).arg(path));
        return;
    }
    browser_->setSource(page);
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
    if (onClose)
        onClose();
    QWidget::closeEvent(event);
}

} // namespace torvella::help
