#include "HelpTestSupport.h"

#include "help/HelpWindow.h"
#include "help/hh.h"

#include <QCoreApplication>
#include <QImage>
#include <QPointer>
#include <QStandardPaths>

namespace torvella::help {
namespace {

using testing::TempFolders;

const QString Qch = QStringLiteral(TORVELLA_TEST_QCH);

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override { LoadViewerLibrary(); }
    void TearDown() override
    {
        HtmlHelp(QString(), HH_CLOSE_ALL, 0);
        FreeViewerLibrary();
    }
    static HelpBrowser* BrowserOf(QWidget* window)
    {
        auto* help = dynamic_cast<HelpWindow*>(window);
        return help ? help->Browser() : nullptr;
    }
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
        QWidget* window = HtmlHelp(Qch, HH_HELP_CONTEXT, c.topic);
        ASSERT_NE(window, nullptr);
        if (!first)
            first = window;
        EXPECT_EQ(window, first.data()) << "one help window per help file";
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(c.title));
        EXPECT_TRUE(BrowserOf(window)->toPlainText().contains(QString::fromUtf8(c.text))) << c.topic;
    }
    EXPECT_EQ(HelpWindows().size(), 1);

    HtmlHelp(QString(), HH_CLOSE_ALL, 0);
    EXPECT_TRUE(HelpWindows().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
}

TEST_F(HelpWindowTest, PagesFindTheirPictureAndStyleSheet)
{
    QWidget* window = HtmlHelp(QStringLiteral("mk:@MSITStore:") + Qch + QStringLiteral("::/x.htm>main"), HH_HELP_CONTEXT, 2);
    ASSERT_NE(window, nullptr);
    HelpBrowser* browser = BrowserOf(window);
    const QImage board = QImage::fromData(
        browser->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("images/board.png"))).toByteArray());
    EXPECT_FALSE(board.isNull());
    const QString css =
        browser->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("style.css"))).toString();
    EXPECT_TRUE(css.contains(QStringLiteral("body"))) << css.toStdString();
}

TEST_F(HelpWindowTest, MissingFileOrTopicShowsAClearPage)
{
    TempFolders folders;
    const QString missing = folders.Prog() + QStringLiteral("/pomq.qch");
    QWidget* window = HtmlHelp(missing, HH_HELP_CONTEXT, 1);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Torvella – Hilfe / Help"));
    EXPECT_TRUE(BrowserOf(window)->toPlainText().contains(QStringLiteral("The help file %1 was not found.").arg(missing)));

    QWidget* other = HtmlHelp(Qch, HH_HELP_CONTEXT, 7);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, window);
    EXPECT_TRUE(BrowserOf(other)->toPlainText().contains(QStringLiteral("Topic 7 is not in the help file")));

    // A help file that is no help file at all.
    QFile bogus(missing);
    ASSERT_TRUE(bogus.open(QIODevice::WriteOnly));
    bogus.write("not a help file");
    bogus.close();
    HtmlHelp(missing, HH_HELP_CONTEXT, 1);
    EXPECT_TRUE(BrowserOf(window)->toPlainText().contains(QStringLiteral("cannot be read")))
        << BrowserOf(window)->toPlainText().toStdString();
    EXPECT_EQ(HelpWindows().size(), 2);
}

TEST_F(HelpWindowTest, CollectionLivesInTheCacheNotBesideTheHelpFile)
{
    const QString collection = HelpCollectionPath(Qch);
    EXPECT_TRUE(collection.startsWith(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)))
        << collection.toStdString();
    EXPECT_FALSE(collection.startsWith(QFileInfo(Qch).absolutePath()));
}

TEST_F(HelpWindowTest, NothingOpensWhileTheViewerIsNotLoaded)
{
    FreeViewerLibrary();
    EXPECT_EQ(HtmlHelp(Qch, HH_HELP_CONTEXT, 1), nullptr);
    EXPECT_TRUE(HelpWindows().isEmpty());
}

} // namespace
} // namespace torvella::help
