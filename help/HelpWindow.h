#pragma once
// The help window of the viewer layer: a text browser over the pages of one
// compressed help file, read through a Qt Help engine.
#include <QString>
#include <QTextBrowser>
#include <QWidget>

class QHelpEngineCore;

namespace torvella::help {

class HelpBrowser : public QTextBrowser {
public:
    explicit HelpBrowser(QWidget* parent) : QTextBrowser(parent) {}
    void SetEngine(QHelpEngineCore* engine) { engine_ = engine; }
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QHelpEngineCore* engine_ = nullptr;
};

class HelpWindow : public QWidget {
public:
    explicit HelpWindow(const QString& helpFile);
    const QString& HelpFile() const { return helpFile_; }
    // Shows the page whose keyword id is the topic number, or a page that says why
    // it cannot. Does not raise the window.
    void ShowTopic(int topic);
    HelpBrowser* Browser() const { return browser_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool SetUpEngine();
    void ShowProblem(const QString& germanText, const QString& englishText);
    void UpdateTitle();

    QString helpFile_;
    QString problem_; // why the engine could not be set up
    QHelpEngineCore* engine_ = nullptr;
    HelpBrowser* browser_ = nullptr;
};

// Where the help collection for helpFile is kept: a writable cache folder, never the
// program folder (which may be read-only).
QString HelpCollectionPath(const QString& helpFile);

} // namespace torvella::help
