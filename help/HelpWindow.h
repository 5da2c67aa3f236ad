#pragma once
// The help window of the viewer layer: a text browser over the pages of one compressed
// help file, read through the help module (HelpReader.h).
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTextBrowser>
#include <QWidget>

#include <functional>
#include <memory>

namespace torvella::help {

class HelpReader;

class HelpBrowser : public QTextBrowser {
public:
    explicit HelpBrowser(QWidget* parent);
    void SetReader(HelpReader* reader) { reader_ = reader; }
    // Pages, style sheets and pictures of the help file; a picture comes in its twice as
    // large "@2x" form where the screen has more than one device pixel per pixel.
    QVariant loadResource(int type, const QUrl& name) override;
    // A link: pages of the help file open here, web and mail addresses go to the desktop's
    // browser or mail program, anything else does nothing.
    void FollowLink(const QUrl& link);

private:
    HelpReader* reader_ = nullptr;
};

class HelpWindow : public QWidget {
public:
    // moduleFolders: where the help module is looked for when the first topic comes.
    HelpWindow(const QString& helpFile, const QStringList& moduleFolders);
    ~HelpWindow() override;
    const QString& HelpFile() const { return helpFile_; }
    // Shows the page whose keyword id is the topic number, or a page that says why it
    // cannot. Does not raise the window.
    void ShowTopic(int topic);
    // Before the first show: beside the game window, or centred over it (HelpPlacement),
    // with its icon.
    void PlaceFor(const QWidget* game);
    HelpBrowser* Browser() const { return browser_; }
    std::function<void()> onClose; // the viewer forgets the window

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool SetUpReader();
    void ShowProblem(const QString& germanText, const QString& englishText);
    void UpdateTitle();

    QString helpFile_;
    QStringList moduleFolders_;
    QString problem_;       // why the file could not be read
    QString moduleProblem_; // why the module could not be loaded
    std::unique_ptr<HelpReader> reader_;
    HelpBrowser* browser_ = nullptr;
};

// Where the help window's frame goes: right of the game's frame when it fits on the
// available screen area, else left of it, else centred over it, always inside the area.
QPoint HelpPlacement(const QRect& gameFrame, const QSize& helpFrame, const QRect& available);

// Where the help collection for helpFile is kept: a writable cache folder, never the
// program folder (which may be read-only).
QString HelpCollectionPath(const QString& helpFile);

} // namespace torvella::help
