#pragma once
// hh: the help viewer layer. The viewer is in-process: help windows built on Qt Help
// that read the compressed help file (.qch) and open a topic by its numeric id
// (the keyword id in the help project). Loading and unloading mirror the life of a
// viewer library: loaded at module initialisation, released at finalisation; while
// it is not loaded no window can be opened.
#include "help/EnvDetect.h"

#include <QString>
#include <QWidget>

#include <cstdint>

namespace torvella::help {

// The viewer is loaded during module initialisation.
inline constexpr bool LoadViewerAtStart = true;

// The two viewer commands this program uses.
inline constexpr unsigned HH_HELP_CONTEXT = 0x0F;
inline constexpr unsigned HH_CLOSE_ALL = 0x12;

void LoadViewerLibrary(); // no-op unless LoadViewerAtStart and not loaded yet
void FreeViewerLibrary(); // closes any help window left and forgets the viewer
bool ViewerLibraryLoaded();

// The viewer's single entry point.
// HH_HELP_CONTEXT: url is the help file path (a "mk:@MSITStore:" or "ms-its:" prefix,
// a "::/topic" and a ">window" part are accepted and only the file is used); data is
// the topic id. Shows the topic in the help window of that file (made on first use)
// and returns the window; a missing file or topic shows an explanatory page instead.
// HH_CLOSE_ALL: closes every help window (url and data unused), returns null.
// Returns null when the viewer is not loaded, no QApplication exists, or the command
// is unknown.
QWidget* HtmlHelp(const QString& url, unsigned command, intptr_t data);

// The open help windows, newest last (for the program's own checks and tests).
QList<QWidget*> HelpWindows();

} // namespace torvella::help
