#pragma once
// Where the main window stands: the placement stored at the last close is given back before
// the first map, made again once the window manager's frame is known, and written at the
// end. The stored rectangle is the outer one (frame included) of the normal state, also
// when the window was closed maximised.
#include "settings/IniCtrl.h"
#include "settings/WindowState.h"

#include <QMargins>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

namespace torvella::ui {

class WindowPlacer {
public:
    WindowPlacer(QWidget& window, settings::IniCtrl& ini) : window_(window), ini_(ini) {}

    // Before the window is mapped: a position given before the window exists is taken as
    // the frame's, and the window manager puts the frame there from the first map on.
    void Restore();
    // The window moved or changed its size: the frame may have come, and the normal frame's
    // widths are noted for a close while maximised.
    void Moved();
    // At close, while the frame still stands: its rectangle is the one to keep.
    void KeepClosingPlacement() { closedPlacement_ = Current(); }
    // Writes the kept rectangle (or the one of now). Throws settings::StoreError.
    void Save();

private:
    // The normal (restored) frame rectangle, right and bottom exclusive.
    settings::WindowPlacement Current() const;
    QMargins FrameNow() const;
    void Apply();

    QWidget& window_;
    settings::IniCtrl& ini_;
    std::optional<settings::WindowPlacement> closedPlacement_;
    QString stored_;                       // as read at the last show
    QSize clientSizeAtShow_;               // the size centring works from when nothing is stored
    std::optional<QMargins> normalFrame_;  // the frame's widths when last seen in the normal state
    bool framePending_ = false;            // placed before the window manager's frame was known
};

} // namespace torvella::ui
