#include "HelpTestSupport.h"

#include "help/HelpReader.h"
#include "help/HelpWindow.h"
#include "help/hh.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace torvella::help {
namespace {

using testing::TempFolders;

const QString Qch = QStringLiteral(TORVELLA_TEST_QCH);
// The build's program folder: the help file and the help module.
const QString ProgramFolder = QFileInfo(Qch).absolutePath();

// What the desktop was asked to open, per address scheme.
class DesktopRecorder : public QObject {
    Q_OBJECT
public:
    DesktopRecorder()
    {
        for (const char* scheme : kSchemes)
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~DesktopRecorder() override
    {
        for (const char* scheme : kSchemes)
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> urls;

public slots:
    void Open(const QUrl& url) { urls.append(url); }

private:
    static constexpr const char* kSchemes[] = {"qthelp", "http", "https", "mailto", "file"};
};

bool MappedInThisProcess(const QString& library)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && QString::fromLocal8Bit(maps.readAll()).contains(library);
}

class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override { viewer.HtmlHelp(QString(), HH_CLOSE_ALL, 0); }
    static HelpBrowser* BrowserOf(QWidget* window)
    {
        auto* help = dynamic_cast<HelpWindow*>(window);
        return help ? help->Browser() : nullptr;
    }
    HelpViewer viewer{{ProgramFolder}};
};

TEST_F(HelpWindowTest, OpensTopicsOneAndTwoInOneWindowAndClosesOnCloseAll)
{
    const struct {
        int topic;
        const char* title;
        const char* text;
    } cases[] = {
        {1, "Torvella – Spielregeln", "Die gemischte Torte und ihre Sprünge"},
        {2, "Torvella – Rules of the game", "The mixed cake and its jumps"},
        {1, "Torvella – Spielregeln", "Teller und Warteplatz"},
    };
    QPointer<QWidget> first;
    for (const auto& c : cases) {
        QWidget* window = viewer.HtmlHelp(Qch, HH_HELP_CONTEXT, c.topic);
        ASSERT_NE(window, nullptr);
        if (!first)
            first = window;
        EXPECT_EQ(window, first.data()) << "one help window per help file";
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(c.title));
        EXPECT_TRUE(BrowserOf(window)->toPlainText().contains(QString::fromUtf8(c.text))) << c.topic;
    }
    EXPECT_EQ(viewer.HelpWindows().size(), 1);

    viewer.HtmlHelp(QString(), HH_CLOSE_ALL, 0);
    EXPECT_TRUE(viewer.HelpWindows().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
}

// Qt Help and Qt Sql come with the help module, when the first topic is shown.
TEST_F(HelpWindowTest, QtHelpIsMappedOnlyOnceATopicIsShown)
{
    if (MappedInThisProcess(QStringLiteral("libtorvella-help.so")))
        GTEST_SKIP() << "an earlier test of this process has shown a topic";
    EXPECT_FALSE(MappedInThisProcess(QStringLiteral("libQt6Help")));
    EXPECT_FALSE(MappedInThisProcess(QStringLiteral("libQt6Sql")));
    viewer.HtmlHelp(Qch, HH_HELP_CONTEXT, 2);
    EXPECT_TRUE(MappedInThisProcess(QStringLiteral("libQt6Help")));
}

TEST_F(HelpWindowTest, PagesFindTheirPictureAndStyleSheet)
{
    QWidget* window = viewer.HtmlHelp(QStringLiteral("mk:@MSITStore:") + Qch + QStringLiteral("::/x.htm>main"),
                                      HH_HELP_CONTEXT, 2);
    ASSERT_NE(window, nullptr);
    HelpBrowser* browser = BrowserOf(window);
    const QImage board = QImage::fromData(
        browser->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("images/board.png"))).toByteArray());
    EXPECT_EQ(board.size(), QSize(468, 270));
    const QString css =
        browser->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("style.css"))).toString();
    EXPECT_TRUE(css.contains(QStringLiteral("body"))) << css.toStdString();
}

TEST_F(HelpWindowTest, MissingFileTopicOrModuleShowsAClearPage)
{
    TempFolders folders;
    const QString missing = folders.Prog() + QStringLiteral("/pomq.qch");
    QWidget* window = viewer.HtmlHelp(missing, HH_HELP_CONTEXT, 1);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Torvella – Hilfe / Help"));
    EXPECT_TRUE(BrowserOf(window)->toPlainText().contains(QStringLiteral("The help file %1 was not found.").arg(missing)));

    QWidget* other = viewer.HtmlHelp(Qch, HH_HELP_CONTEXT, 7);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, window);
    EXPECT_TRUE(BrowserOf(other)->toPlainText().contains(QStringLiteral("Topic 7 is not in the help file")));

    // A help file that is no help file at all.
    QFile bogus(missing);
    ASSERT_TRUE(bogus.open(QIODevice::WriteOnly));
    bogus.write("not a help file");
    bogus.close();
    viewer.HtmlHelp(missing, HH_HELP_CONTEXT, 1);
    EXPECT_TRUE(BrowserOf(window)->toPlainText().contains(QStringLiteral("cannot be read")))
        << BrowserOf(window)->toPlainText().toStdString();
    EXPECT_EQ(viewer.HelpWindows().size(), 2);

    // A good help file, but no help module where the viewer looks.
    HelpViewer withoutModule({folders.Prog()});
    QWidget* bare = withoutModule.HtmlHelp(Qch, HH_HELP_CONTEXT, 2);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->windowTitle(), QStringLiteral("Torvella – Hilfe / Help"));
    EXPECT_TRUE(BrowserOf(bare)->toPlainText().contains(
        QStringLiteral("The help module is missing or cannot be loaded (%1/libtorvella-help.so is missing).")
            .arg(folders.Prog())))
        << BrowserOf(bare)->toPlainText().toStdString();
}

TEST_F(HelpWindowTest, CollectionLivesInTheCacheNotBesideTheHelpFile)
{
    const QString collection = HelpCollectionPath(Qch);
    EXPECT_TRUE(collection.startsWith(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)))
        << collection.toStdString();
    EXPECT_FALSE(collection.startsWith(QFileInfo(Qch).absolutePath()));
}

// The language links of the rules pages, clicked as the player does: the other page opens
// in the same window and nothing goes to the desktop.
TEST_F(HelpWindowTest, LinksInsideTheHelpFileOpenInTheHelpWindow)
{
    DesktopRecorder desktop;
    QWidget* window = viewer.HtmlHelp(Qch, HH_HELP_CONTEXT, 2);
    ASSERT_NE(window, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    HelpBrowser* browser = BrowserOf(window);
    const struct {
        const char* link;
        const char* title;
    } clicks[] = {
        {"Deutsche Fassung", "Torvella – Spielregeln"},
        {"English version", "Torvella – Rules of the game"},
    };
    for (const auto& c : clicks) {
        const QTextCursor found = browser->document()->find(QString::fromUtf8(c.link));
        ASSERT_FALSE(found.isNull()) << c.link;
        QTextCursor inside(browser->document());
        inside.setPosition(found.selectionStart() + 2);
        const QPoint at = browser->cursorRect(inside).center();
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(c.title)) << "after clicking " << c.link;
    }
    EXPECT_TRUE(desktop.urls.isEmpty()) << desktop.urls.first().toString().toStdString();
}

TEST_F(HelpWindowTest, OnlyWebAndMailAddressesGoToTheDesktop)
{
    DesktopRecorder desktop;
    QWidget* window = viewer.HtmlHelp(Qch, HH_HELP_CONTEXT, 2);
    HelpBrowser* browser = BrowserOf(window);
    const QUrl page = browser->source();
    const struct {
        const char* link;
        bool toDesktop;
    } cases[] = {
        {"https://example.org/torvella", true},
        {"http://example.org/", true},
        {"mailto:torvella@example.org", true},
        {"file:///etc/passwd", false},
        {"#scoring", false},
    };
    for (const auto& c : cases) {
        desktop.urls.clear();
        browser->FollowLink(QUrl(QString::fromUtf8(c.link)));
        EXPECT_EQ(desktop.urls, c.toDesktop ? QList<QUrl>{QUrl(QString::fromUtf8(c.link))} : QList<QUrl>{}) << c.link;
        EXPECT_EQ(browser->source().adjusted(QUrl::RemoveFragment), page) << c.link;
    }
    EXPECT_EQ(browser->source().fragment(), QStringLiteral("scoring"));
}

TEST_F(HelpWindowTest, EscapeAndCtrlWCloseTheWindow)
{
    const QKeyCombination keys[] = {Qt::Key_Escape, Qt::CTRL | Qt::Key_W};
    for (const QKeyCombination key : keys) {
        QWidget* window = viewer.HtmlHelp(Qch, HH_HELP_CONTEXT, 1);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QPointer<QWidget> alive(window);
        QTest::keyClick(BrowserOf(window), key.key(), key.keyboardModifiers());
        EXPECT_FALSE(alive && alive->isVisible()) << QKeySequence(key).toString().toStdString();
        EXPECT_TRUE(viewer.HelpWindows().isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(HelpWindowTest, TakesTheGameWindowsIcon)
{
    QWidget game;
    QPixmap face(32, 32);
    face.fill(Qt::red);
    game.setWindowIcon(QIcon(face));
    game.setGeometry(10, 10, 300, 200);
    QWidget* window = viewer.HtmlHelp(Qch, HH_HELP_CONTEXT, 1, &game);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowIcon().pixmap(32).toImage(), face.toImage());
}

TEST(HelpPlacement, BesideTheGameWhenThereIsRoomElseCentredOverIt)
{
    const QRect screen(0, 0, 1600, 1000);
    const QSize help(690, 750);
    const struct {
        const char* name;
        QRect game;
        QRect available;
        QPoint want;
    } cases[] = {
        {"room on the right", {100, 50, 750, 500}, screen, {850, 50}},
        {"room on the left only", {800, 100, 750, 500}, screen, {110, 100}},
        {"no room beside: centred over the game", {400, 300, 750, 500}, screen, {430, 175}},
        {"centred, kept on a small screen", {0, 0, 1024, 740}, {0, 0, 1024, 740}, {167, 0}},
        {"low game: pulled up to fit", {100, 600, 750, 300}, screen, {850, 250}},
        {"second screen to the right", {1700, 50, 750, 500}, {1600, 0, 1920, 1080}, {2450, 50}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HelpPlacement(c.game, help, c.available), c.want) << c.name;
}

// Run by ctest a second time with QT_SCALE_FACTOR=2 (test_help.PicturesAtScaleTwo).
TEST(HelpWindowAtScaleTwo, PicturesComeAtTwiceTheirSize)
{
    HelpViewer viewer{{ProgramFolder}};
    QWidget* window = viewer.HtmlHelp(Qch, HH_HELP_CONTEXT, 2);
    ASSERT_NE(window, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    if (window->devicePixelRatio() < 2.0)
        GTEST_SKIP() << "the screen has one device pixel per pixel here";
    auto* browser = dynamic_cast<HelpWindow*>(window)->Browser();
    const QVariant board = browser->document()->resource(
        QTextDocument::ImageResource, browser->source().resolved(QUrl(QStringLiteral("images/board.png"))));
    const QImage image = board.value<QImage>();
    EXPECT_EQ(image.size(), QSize(936, 540));
    EXPECT_EQ(image.devicePixelRatio(), 2.0);
    viewer.HtmlHelp(QString(), HH_CLOSE_ALL, 0);
}

} // namespace
} // namespace torvella::help

#include "HelpWindowTest.moc"
