#pragma once
// hh: the help viewer layer. The viewer is in-process: help windows that show the pages
// of a compressed help file (.qch) and open a topic by its numeric id (the keyword id in
// the help project). The windows are plain Qt Widgets; reading the file takes Qt Help,
// which lives in the module "libtorvella-help.so" (HelpReader.h) loaded when the first
// topic is asked for.
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace torvella::help {

class HelpWindow;

// The viewer is loaded during module initialisation.
inline constexpr bool LoadViewerAtStart = true;

// The two viewer commands this program uses.
inline constexpr unsigned HH_HELP_CONTEXT = 0x0F;
inline constexpr unsigned HH_CLOSE_ALL = 0x12;

class HelpViewer {
public:
    // moduleFolders: where the help module is looked for, in order.
    explicit HelpViewer(QStringList moduleFolders);
    ~HelpViewer(); // deletes the windows left, while an application object exists
    HelpViewer(const HelpViewer&) = delete;
    HelpViewer& operator=(const HelpViewer&) = delete;

    // The viewer's single entry point.
    // HH_HELP_CONTEXT: url is the help file path (a "mk:@MSITStore:" or "ms-its:" prefix,
    // a "::/topic" and a ">window" part are accepted and only the file is used); data is
    // the topic id. Shows the topic in the help window of that file (made on first use,
    // placed beside or over owner when one is given) and returns the window; a missing
    // module, file or topic shows an explanatory page instead.
    // HH_CLOSE_ALL: closes every help window (url and data unused), returns null.
    // Returns null when no QApplication exists or the command is unknown.
    QWidget* HtmlHelp(const QString& url, unsigned command, intptr_t data, QWidget* owner = nullptr);

    // The open help windows, newest last (for the program's own checks and tests).
    QList<QWidget*> HelpWindows();

private:
    void Prune();
    void CloseAll();

    QStringList moduleFolders_;
    std::vector<QPointer<HelpWindow>> windows_;
};

} // namespace torvella::help
